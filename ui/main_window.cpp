#include "main_window.h"

#include "application.h"
#include "caption_left_check_box.h"
#include "control_adapters.h"
#include "fitting.h"
#include "result_list_model.h"
#include "result_list_view.h"
#include "request/summary_text.h"
#include "text/resistance_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <span>
#include <stdexcept>
#include <string>

namespace tarnel {

TForm1* Form1 = nullptr;

namespace {

// Positions and sizes are at 96 dpi; Qt scales them for each screen.
constexpr QSize designClientSize{654, 938};
constexpr int windowFontPixels = 12;
constexpr int controlFontPixels = 19;
// The panels' bottom edge and the margin under it: the form needs no more height.
constexpr int panelsBottom = 8 + 625 + 8;
// A run that ends sooner shows no busy bar, so quick runs do not flicker.
constexpr int busyDelayMs = 300;
constexpr int progressIntervalMs = 100;
const QString staleNote = QStringLiteral(" (inputs changed since this run)");

QFont tarnelFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    return font;
}

template <class Control>
Control* place(Control* control, const char* name, const QRect& geometry)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

// Every control but the panels and the list has the larger font.
template <class Control>
Control* placeControl(Control* control, const char* name, const QRect& geometry)
{
    control->setFont(tarnelFont(controlFontPixels));
    return place(control, name, geometry);
}

QFrame* makePanel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* panel = place(new QFrame(parent), name, geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

// Like a caption drawn on the panel, a label lies under the edits.
QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text)
{
    auto* label = placeControl(new QLabel(text, parent), name, geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->lower();
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QRect& geometry, std::string_view initialText)
{
    return placeControl(new QLineEdit(toQString(initialText), parent), name, geometry);
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QRect& geometry, Field field)
{
    return makeEdit(parent, name, geometry, numberField(field).initialText);
}

// The arm boxes and chkDivOnly: caption at the left, box at the right.
QCheckBox* makeArmBox(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                      bool initiallyChecked)
{
    QCheckBox* box = placeControl(new CaptionLeftCheckBox(caption, parent), name, geometry);
    box->setChecked(initiallyChecked);
    return box;
}

QCheckBox* makeArmBox(QWidget* parent, const char* name, const QRect& geometry, const QString& caption, bool highArm,
                      ArmKind kind)
{
    return makeArmBox(parent, name, geometry, caption,
                      (highArm ? initialHighShapes : initialLowShapes).allows(kind));
}

// A choice box holding the choices of its field.
QComboBox* makeChoiceBox(QWidget* parent, const char* name, const QRect& geometry, ChoiceId id)
{
    auto* box = placeControl(new QComboBox(parent), name, geometry);
    const ChoiceField& field = choiceField(id);
    for (const Choice& choice : field.choices)
        box->addItem(toQString(choice.caption));
    box->setCurrentIndex(static_cast<int>(field.initialChoice));
    return box;
}

// Special-value boxes step unchecked, grayed, checked, as "( )/(-)/(x)" reads.
QCheckBox* makeSpecialBox(QWidget* parent, const char* name, const QRect& geometry)
{
    QCheckBox* box = placeControl(new QCheckBox(QStringLiteral("( )/(-)/(x)"), parent), name, geometry);
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
    return box;
}

// A resistance edit says on hovering what it takes; the field table marks them.
void explainResistances(std::span<QLineEdit* const> numberEdits, std::span<QLineEdit* const> specialEdits)
{
    const QString hint = toQString("Kilo-ohms, " + rangeText(resistanceRange, NumberText()) +
                                   ", or as a part is marked: " + std::string(resistanceNotations));
    for (std::size_t i = 0; i < numberEdits.size(); ++i)
        if (numberFields[i].readsResistance)
            setFieldHint(*numberEdits[i], toQString(numberFields[i].help) + QStringLiteral(": ") + hint);
    for (QLineEdit* edit : specialEdits)
        setFieldHint(*edit, hint);
}

// The widest line a run of every arm shape lists with the initial inputs:
// the longest line format, each value as wide as Rmax's initial value and the
// deviation as wide as the tolerance's.
QString widestInitialLine(const NumberText& numbers)
{
    const auto initial = [&](Field field) {
        const NumberField& f = numberField(field);
        const FieldReading reading = readNumber(f.initialText, f.range, numbers);
        return toQString(numbers.fixed2(reading.value));
    };
    const QString value = initial(Field::Rmax);
    const QString deviation = QLatin1Char('-') + initial(Field::Tol);
    QString widest;
    for (const std::string_view format : resultFormats) {
        QString line = toQString(format);
        const qsizetype last = line.lastIndexOf(QStringLiteral("%f"));
        line.replace(last, 2, deviation);
        line.replace(QStringLiteral("%f"), value);
        if (line.size() > widest.size())
            widest = line;
    }
    // Sized as the list sizes its rows: digits are the widest characters of
    // a line, so a run of them as long as the line bounds its width.
    return QString(widest.size(), QLatin1Char('0'));
}

} // namespace

TForm1::TForm1(QWidget* parent, std::string decimalSeparator)
    : QWidget(parent),
      model_(new ResultListModel(NumberText(std::move(decimalSeparator)), this)),
      scrollArea_(new QScrollArea(this)),
      surface_(new QWidget(scrollArea_)),
      form_(new QWidget(surface_)),
      column_(new QVBoxLayout),
      busyDelay_(new QTimer(this)),
      progressTimer_(new QTimer(this)),
      stopShortcut_(new QShortcut(QKeySequence(Qt::Key_Escape), this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarnel"));
    setFont(tarnelFont(windowFontPixels));
    // The window has the colour of an edit's background, not of a dialog.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    setPalette(palette);
    setAutoFillBackground(true);

    // Narrower, the panels would leave the form at the left; shorter, they
    // would leave it at the bottom.
    form_->setMinimumSize(designClientSize.width() - 237, panelsBottom);
    form_->installEventFilter(this);
    auto* surfaceLayout = new QHBoxLayout(surface_);
    surfaceLayout->setContentsMargins(0, 0, 0, 0);
    surfaceLayout->setSpacing(0);
    surfaceLayout->addWidget(form_, 1);
    surfaceLayout->addLayout(column_);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setWidgetResizable(true);
    createControls();
    createRunPanel();
    createDesignControls();
    createColumn();
    scrollArea_->setWidget(surface_);
    fitCaptionsAndValues();
    explainResistances(numberEdits(), specialEdits());
    setFieldHint(*editSourceTol, toQString(numberField(Field::SourceTol).help));
    orderTabs();
    connect(btnStart, &QPushButton::clicked, this, &TForm1::btnStartClick);
    connect(btnStop, &QPushButton::clicked, this, &TForm1::stopSearch);
    connect(stopShortcut_, &QShortcut::activated, this, &TForm1::stopSearch);
    connect(ListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this, &TForm1::showDetails);
    connect(editPartTol, &QLineEdit::textChanged, this, &TForm1::readPartTolerance);
    connect(editPartTol, &QLineEdit::textChanged, this, &TForm1::markSummaryStale);
    connect(cmbOrder, &QComboBox::currentIndexChanged, this, &TForm1::markSummaryStale);
    connect(cmbSeries, &QComboBox::currentIndexChanged, this, &TForm1::markSummaryStale);
    connect(cmbSeries, &QComboBox::activated, this, &TForm1::seriesActivated);
    connect(&runner_, &SearchRunner::finished, this, &TForm1::searchFinished, Qt::QueuedConnection);
    busyDelay_->setSingleShot(true);
    busyDelay_->setInterval(busyDelayMs);
    connect(busyDelay_, &QTimer::timeout, this, [this] {
        showProgress();
        busyPanel->show();
    });
    progressTimer_->setInterval(progressIntervalMs);
    connect(progressTimer_, &QTimer::timeout, this, &TForm1::showProgress);
    stopShortcut_->setEnabled(false);

    setGeometry(placedWithin(openingSize(), screen()->availableGeometry()));
}

TForm1::~TForm1() = default;

void TForm1::createControls()
{
    // Created in this order, so that slot 3's controls lie over Panel2.
    Panel1 = makePanel(form_, "Panel1", {237, 8, 204, 625});
    btnStart = placeControl(new QPushButton(QStringLiteral("Start"), Panel1), "btnStart", {16, 568, 177, 41});
    // Enter in any input starts a search, as in a dialog.
    btnStart->setDefault(true);
    ListBox1 = place(new ResultListView(*model_, form_), "ListBox1", {0, 8, 231, 929});
    editUin = makeEdit(Panel1, "editUin", {120, 16, 73, 33}, Field::Uin);
    editUout = makeEdit(Panel1, "editUout", {120, 55, 73, 33}, Field::Uout);
    editTol = makeEdit(Panel1, "editTol", {120, 302, 73, 33}, Field::Tol);
    Label1 = makeLabel(Panel1, "Label1", {16, 19, 58, 25}, QStringLiteral("Uin [V]"));
    Label2 = makeLabel(Panel1, "Label2", {16, 58, 70, 25}, QStringLiteral("Uout [V]"));
    Label3 = makeLabel(Panel1, "Label3", {16, 305, 57, 25}, QStringLiteral("Tol [%]"));
    editRmin = makeEdit(Panel1, "editRmin", {120, 126, 73, 33}, Field::Rmin);
    Label4 = makeLabel(Panel1, "Label4", {16, 129, 69, 25}, QStringLiteral("Rmin [k]"));
    editRmax = makeEdit(Panel1, "editRmax", {120, 165, 73, 33}, Field::Rmax);
    Label5 = makeLabel(Panel1, "Label5", {16, 168, 72, 25}, QStringLiteral("Rmax [k]"));
    chkHi1R = makeArmBox(Panel1, "chkHi1R", {16, 384, 177, 25}, QStringLiteral("Hi 1xR"), true, ArmKind::Single);
    chkHi2Rser = makeArmBox(Panel1, "chkHi2Rser", {16, 408, 177, 25}, QStringLiteral("Hi R+R"), true, ArmKind::Series);
    chkHi2Rpar = makeArmBox(Panel1, "chkHi2Rpar", {16, 432, 177, 25}, QStringLiteral("Hi R||R"), true, ArmKind::Parallel);
    chkLo1R = makeArmBox(Panel1, "chkLo1R", {16, 472, 177, 25}, QStringLiteral("Lo 1xR"), false, ArmKind::Single);
    chkLo2Rser = makeArmBox(Panel1, "chkLo2Rser", {16, 496, 177, 25}, QStringLiteral("Lo R+R"), false, ArmKind::Series);
    chkLo2Rpar = makeArmBox(Panel1, "chkLo2Rpar", {16, 520, 177, 25}, QStringLiteral("Lo R||R"), false, ArmKind::Parallel);
    editMaxResults = makeEdit(Panel1, "editMaxResults", {122, 341, 71, 33}, Field::MaxResults);
    Label6 = makeLabel(Panel1, "Label6", {16, 344, 100, 25}, QStringLiteral("Max. results"));
    editRsumMax = makeEdit(Panel1, "editRsumMax", {120, 253, 73, 33}, Field::RsumMax);
    editRsumMin = makeEdit(Panel1, "editRsumMin", {120, 214, 73, 33}, Field::RsumMin);
    Label7 = makeLabel(Panel1, "Label7", {16, 217, 79, 25}, QStringLiteral("RsumMin"));
    Label8 = makeLabel(Panel1, "Label8", {16, 256, 82, 25}, QStringLiteral("RsumMax"));
    chkDivOnly = makeArmBox(Panel1, "chkDivOnly", {16, 89, 177, 25}, QStringLiteral("1+H/L ( ) / H/L (x)"), false);
    Panel2 = makePanel(form_, "Panel2", {447, 8, 204, 625});
    editSpecVal0 = makeEdit(Panel2, "editSpecVal0", {120, 16, 73, 33}, specialSlotTexts[0]);
    chkSpecVal0 = makeSpecialBox(Panel2, "chkSpecVal0", {17, 20, 97, 25});
    editSpecVal1 = makeEdit(Panel2, "editSpecVal1", {120, 55, 73, 33}, specialSlotTexts[1]);
    chkSpecVal1 = makeSpecialBox(Panel2, "chkSpecVal1", {17, 59, 97, 25});
    editSpecVal2 = makeEdit(Panel2, "editSpecVal2", {120, 94, 73, 33}, specialSlotTexts[2]);
    chkSpecVal2 = makeSpecialBox(Panel2, "chkSpecVal2", {17, 98, 97, 25});
    // Slot 3 lies on the window itself in Panel2's fourth row, anchored like
    // Panel2 so that it stays in that row at every width.
    editSpecVal3 = makeEdit(form_, "editSpecVal3", {567, 141, 73, 33}, specialSlotTexts[3]);
    chkSpecVal3 = makeSpecialBox(form_, "chkSpecVal3", {464, 145, 97, 25});

    const Qt::Edges topRight = Qt::TopEdge | Qt::RightEdge;
    const Qt::Edges allEdges = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;
    anchored_ = {
        {Panel1, Panel1->geometry(), topRight},
        {ListBox1, ListBox1->geometry(), allEdges},
        {Panel2, Panel2->geometry(), topRight},
        {editSpecVal3, editSpecVal3->geometry(), topRight},
        {chkSpecVal3, chkSpecVal3->geometry(), topRight},
    };
}

void TForm1::createRunPanel()
{
    Panel3 = makePanel(surface_, "Panel3", {0, 0, 414, 130});
    Label9 = makeLabel(Panel3, "Label9", {16, 11, 100, 25}, QStringLiteral("Order"));
    cmbOrder = makeChoiceBox(Panel3, "cmbOrder", {120, 8, 177, 33}, ChoiceId::Order);
    Label10 = makeLabel(Panel3, "Label10", {16, 50, 100, 25}, QStringLiteral("Part tol [%]"));
    editPartTol = makeEdit(Panel3, "editPartTol", {120, 47, 73, 33}, Field::PartTol);
    Label11 = makeLabel(Panel3, "Label11", {16, 89, 100, 25}, QStringLiteral("Series"));
    cmbSeries = makeChoiceBox(Panel3, "cmbSeries", {120, 86, 130, 33}, ChoiceId::Series);
    cmbSeries->addItem(QStringLiteral("from file…"));
    lastSeries_ = cmbSeries->currentIndex();
    lblValuesFile = place(new QLabel(Panel3), "lblValuesFile", {258, 89, 140, 25});
    Panel3->setFixedSize(Panel3->size());
}

// The column beside the panels: the groups of inputs, then how the run goes,
// its summary and what the chosen line delivers, in the system's font.
void TForm1::createColumn()
{
    column_->setContentsMargins(6, 8, 8, 8);
    column_->addWidget(Panel3);

    busyPanel = new QWidget(surface_);
    busyPanel->setObjectName(QStringLiteral("busyPanel"));
    auto* busyRow = new QHBoxLayout(busyPanel);
    busyRow->setContentsMargins(0, 0, 0, 0);
    busyBar = new QProgressBar(busyPanel);
    busyBar->setObjectName(QStringLiteral("busyBar"));
    busyBar->setRange(0, 0); // no end known: the bar only moves
    busyBar->setTextVisible(false);
    lblProgress = new QLabel(busyPanel);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    btnStop = new QPushButton(QStringLiteral("Stop"), busyPanel);
    btnStop->setObjectName(QStringLiteral("btnStop"));
    btnStop->setToolTip(QStringLiteral("Ends the search (Esc)"));
    btnStop->setFocusPolicy(Qt::NoFocus);
    busyRow->addWidget(busyBar, 1);
    busyRow->addWidget(lblProgress, 1);
    busyRow->addWidget(btnStop);
    busyPanel->setFixedWidth(Panel3->width());
    busyPanel->hide();
    column_->addWidget(busyPanel);

    lblSummary = place(new QLabel(surface_), "lblSummary", {});
    lblSummary->setWordWrap(true);
    lblSummary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSummary->setFixedWidth(Panel3->width());
    lblDetails = place(new QLabel(surface_), "lblDetails", {});
    lblDetails->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDetails->setTextInteractionFlags(Qt::TextSelectableByMouse);
    for (QWidget* text : {static_cast<QWidget*>(lblProgress), static_cast<QWidget*>(lblSummary),
                          static_cast<QWidget*>(lblDetails), static_cast<QWidget*>(ListBox1)})
        text->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    // Room for a divider's details, which take up to ten lines.
    lblDetails->setMinimumHeight(10 * lblDetails->fontMetrics().lineSpacing());
    column_->addWidget(lblSummary);
    column_->addWidget(lblDetails, 1);
}

void TForm1::addInputGroup(QWidget* group)
{
    column_->insertWidget(inputGroups_++, group);
}

QSize TForm1::openingSize() const
{
    const QFontMetrics metrics(ListBox1->font());
    const int lineWidth = metrics.horizontalAdvance(widestInitialLine(model_->list().numbers()));
    // The list's frame, a row's margins and a vertical scroll bar around the line.
    const int listWidth = lineWidth + 2 * ListBox1->frameWidth() + 2 * metrics.horizontalAdvance(QLatin1Char(' ')) +
                          ListBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ListBox1);
    const int formWidth = designClientSize.width() - 231 + std::max(231, listWidth);
    return {formWidth + column_->sizeHint().width(), designClientSize.height()};
}

void TForm1::createDesignControls()
{
    lblCriterion = makeLabel(Panel2, "lblCriterion", {16, 190, 177, 25}, QStringLiteral("Criterion"));
    cmbCriterion = makeChoiceBox(Panel2, "cmbCriterion", {16, 215, 177, 33}, ChoiceId::Criterion);
    lblUse = makeLabel(Panel2, "lblUse", {16, 257, 100, 25}, QStringLiteral("Use"));
    cmbUse = makeChoiceBox(Panel2, "cmbUse", {66, 254, 127, 33}, ChoiceId::Use);
    const auto row = [&](const char* labelName, const char* editName, int y, const QString& caption, Field field,
                         QLabel*& label, QLineEdit*& edit) {
        label = makeLabel(Panel2, labelName, {16, y + 3, 100, 25}, caption);
        edit = makeEdit(Panel2, editName, {120, y, 73, 33}, field);
    };
    row("lblSourceTol", "editSourceTol", 296, QStringLiteral("Source tol [%]"), Field::SourceTol, lblSourceTol,
        editSourceTol);
    row("lblHiMin", "editHiMin", 335, QStringLiteral("Hi min [k]"), Field::HighArmMin, lblHiMin, editHiMin);
    row("lblHiMax", "editHiMax", 374, QStringLiteral("Hi max [k]"), Field::HighArmMax, lblHiMax, editHiMax);
    row("lblLoMin", "editLoMin", 413, QStringLiteral("Lo min [k]"), Field::LowArmMin, lblLoMin, editLoMin);
    row("lblLoMax", "editLoMax", 452, QStringLiteral("Lo max [k]"), Field::LowArmMax, lblLoMax, editLoMax);
    row("lblRoutMax", "editRoutMax", 491, QStringLiteral("Rout max [k]"), Field::OutputImpedanceMax, lblRoutMax,
        editRoutMax);
}

// Captions and the widest value of each field fit their controls in any font.
void TForm1::fitCaptionsAndValues()
{
    for (QLabel* label : surface_->findChildren<QLabel*>())
        if (!label->wordWrap() && label != lblDetails && label != lblValuesFile)
            fitFont(*label, label->text(), textRoom(*label));
    for (QCheckBox* box : surface_->findChildren<QCheckBox*>())
        fitFont(*box, box->text(), textRoom(*box));
    for (QComboBox* box : {cmbCriterion, cmbUse})
        fitFont(*box, box->itemText(box->count() - 1), textRoom(*box));
    const auto fitEdit = [](QLineEdit* edit, FieldRange range) { fitFont(*edit, widestValueText(range), textRoom(*edit)); };
    const auto edits = numberEdits();
    for (std::size_t i = 0; i < edits.size(); ++i)
        fitEdit(edits[i], numberFields[i].range);
    for (QLineEdit* edit : specialEdits())
        fitEdit(edit, resistanceRange);
}

void TForm1::orderTabs()
{
    // Panel1 first, then the list, then Panel2 and slot 3: not the order on
    // screen, but the one users of the tool are used to.
    QWidget* const order[] = {
        btnStart,   editUin,     editUout,     editTol,      editRmin,     editRmax,     chkHi1R,      chkHi2Rser,
        chkHi2Rpar, chkLo1R,     chkLo2Rser,   chkLo2Rpar,   editMaxResults, editRsumMax, editRsumMin, chkDivOnly,
        ListBox1,   editSpecVal0, chkSpecVal0, editSpecVal1, chkSpecVal1,  editSpecVal2, chkSpecVal2, editSpecVal3,
        chkSpecVal3, cmbOrder,    editPartTol,  cmbSeries,   cmbCriterion, cmbUse,     editSourceTol, editHiMin,
        editHiMax,   editLoMin,   editLoMax,    editRoutMax,
    };
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    scrollArea_->setGeometry(rect());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form_ && event->type() == QEvent::Resize)
        placeAnchored(form_->size());
    return QWidget::eventFilter(watched, event);
}

// A control anchored at the right keeps its distance to the right edge, one
// anchored at both sides keeps both and stretches; likewise top and bottom.
void TForm1::placeAnchored(QSize clientSize)
{
    const int dx = clientSize.width() - designClientSize.width();
    const int dy = clientSize.height() - designClientSize.height();
    for (const Anchored& a : anchored_) {
        QRect geometry = a.designGeometry;
        if (a.anchors & Qt::RightEdge) {
            if (a.anchors & Qt::LeftEdge)
                geometry.setWidth(std::max(0, geometry.width() + dx));
            else
                geometry.translate(dx, 0);
        }
        if (a.anchors & Qt::BottomEdge) {
            if (a.anchors & Qt::TopEdge)
                geometry.setHeight(std::max(0, geometry.height() + dy));
            else
                geometry.translate(0, dy);
        }
        a.control->setGeometry(geometry);
    }
}

ResultList& TForm1::resultList()
{
    return model_->list();
}

std::array<QLineEdit*, numberFields.size()> TForm1::numberEdits() const
{
    return {editUin,     editUout,      editTol,   editRmin,  editRmax,  editRsumMin, editRsumMax, editMaxResults,
            editPartTol, editSourceTol, editHiMin, editHiMax, editLoMin, editLoMax,   editRoutMax};
}

std::array<QCheckBox*, armKinds.size()> TForm1::armChecks(bool highArm) const
{
    if (highArm)
        return {chkHi1R, chkHi2Rser, chkHi2Rpar};
    return {chkLo1R, chkLo2Rser, chkLo2Rpar};
}

std::array<QLineEdit*, specialSlotCount> TForm1::specialEdits() const
{
    return {editSpecVal0, editSpecVal1, editSpecVal2, editSpecVal3};
}

std::array<QCheckBox*, specialSlotCount> TForm1::specialChecks() const
{
    return {chkSpecVal0, chkSpecVal1, chkSpecVal2, chkSpecVal3};
}

std::array<QComboBox*, choiceFields.size()> TForm1::choiceBoxes() const
{
    return {cmbOrder, cmbSeries, cmbCriterion, cmbUse};
}

SearchInput TForm1::readControls() const
{
    SearchInput input;
    const auto edits = numberEdits();
    for (std::size_t i = 0; i < edits.size(); ++i)
        input.numbers[i] = edits[i]->text().toStdString();
    input.highOverLowOnly = chkDivOnly->isChecked();
    for (const bool highArm : {true, false})
        for (const ArmKind kind : armKinds)
            input.shapes(highArm).allow(kind, armChecks(highArm)[static_cast<std::size_t>(kind)]->isChecked());
    const auto choices = choiceBoxes();
    for (std::size_t i = 0; i < choices.size(); ++i)
        input.choices[i] = choiceOf(*choices[i]);
    // The series box's last entry stands for the file chosen.
    if (cmbSeries->currentIndex() == cmbSeries->count() - 1)
        input.valuesFile = valuesFilePath_;
    const auto slotChecks = specialChecks();
    const auto slotEdits = specialEdits();
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot)
        input.specialSlots[slot] = {checkStateOf(*slotChecks[slot]), slotEdits[slot]->text().toStdString()};
    return input;
}

void TForm1::showReading(const InputReading& reading)
{
    // A red field says why in its tooltip, as the command line would, and
    // the summary line gathers every reason.
    QStringList problems;
    const auto show = [&](QLineEdit& edit, const FieldVerdict& verdict, std::string_view caption) {
        if (const QString problem = showVerdict(edit, verdict, caption); !problem.isEmpty())
            problems.append(problem);
    };
    const auto edits = numberEdits();
    for (std::size_t i = 0; i < edits.size(); ++i)
        show(*edits[i], reading.numbers[i], numberFields[i].caption);
    // A slot in no known state is left as it was.
    const auto slotChecks = specialChecks();
    const auto slotEdits = specialEdits();
    for (std::size_t slot = 0; slot < specialSlotCount; ++slot)
        if (checkStateOf(*slotChecks[slot]) != CheckState::Unknown)
            show(*slotEdits[slot], reading.specialSlots[slot], {});
    lblSummary->clear();
    if (cmbSeries->currentIndex() == cmbSeries->count() - 1)
        showValuesFileProblem(*lblValuesFile, *lblSummary, valuesFilePath_, reading.valuesFileProblem);
    if (!lblSummary->text().isEmpty())
        problems.append(lblSummary->text());
    lblSummary->setText(problems.join(QStringLiteral("; ")));
}

void TForm1::btnStartClick()
{
    if (searching_)
        return; // a press during a run is dropped, not queued
    lblDetails->clear();
    // The view is whole again before an error box shows.
    reportingFailures([this] {
        runSummary_.clear();
        const ResultListModel::Reset reset(*model_);
        model_->setRunParams(std::nullopt);
        lblSummary->clear();
        ResultList& list = resultList();
        list.clear();
        const InputReading reading = readSearchParams(readControls(), list.numbers());
        showReading(reading);
        for (const std::string& message : reading.listMessages)
            list.addMessage(message);
        if (!reading.valid)
            return;
        // Started first: should no thread start, the window stays as it was.
        // Nothing reads the list before this handler returns.
        runner_.start(reading.params, list, armTables_);
        model_->setListLent(true);
        runInputs_ = summaryInputs();
        searching_ = true;
        setInputsEnabled(false);
        stopShortcut_->setEnabled(true);
        busyDelay_->start();
        progressTimer_->start();
    });
}

void TForm1::stopSearch()
{
    if (searching_)
        runner_.stop();
}

void TForm1::searchFinished(const SearchOutcome& outcome)
{
    searching_ = false;
    busyDelay_->stop();
    progressTimer_->stop();
    busyPanel->hide();
    stopShortcut_->setEnabled(false);
    setInputsEnabled(true);
    // The lines the search made show before an error box does.
    reportingFailures([&] {
        {
            const ResultListModel::Reset reset(*model_);
            model_->setListLent(false);
            if (outcome.summary && !outcome.summary->stopped)
                model_->setRunParams(outcome.params);
        }
        if (outcome.failure)
            std::rethrow_exception(outcome.failure);
        runSummary_ = toQString(summaryText(*outcome.summary, resultList().numbers()));
        lblSummary->setText(runSummary_);
    });
}

void TForm1::showProgress()
{
    lblProgress->setText(QStringLiteral("%1 found").arg(toQString(resultList().numbers().grouped(runner_.found()))));
}

// Every input is locked for a run, as the panel is, so that the inputs always
// read as those of the list shown.
void TForm1::setInputsEnabled(bool enabled)
{
    for (QWidget* inputs : {static_cast<QWidget*>(Panel1), static_cast<QWidget*>(Panel2),
                            static_cast<QWidget*>(editSpecVal3), static_cast<QWidget*>(chkSpecVal3),
                            static_cast<QWidget*>(Panel3)})
        inputs->setEnabled(enabled);
}

TForm1::SummaryInputs TForm1::summaryInputs() const
{
    return {cmbOrder->currentIndex(), editPartTol->text(), cmbSeries->currentIndex(), valuesFilePath_};
}

// The summary stands for the list under it: once the inputs of the column
// differ from the run's, it says so, and no longer once they are back.
void TForm1::markSummaryStale()
{
    if (!runSummary_.isEmpty() && !searching_)
        lblSummary->setText(summaryInputs() == runInputs_ ? runSummary_ : runSummary_ + staleNote);
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // In the list, Enter is the list's own.
    if (enter && !ListBox1->hasFocus() && event->modifiers() == Qt::NoModifier) {
        btnStart->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    runner_.stop();
    QWidget::closeEvent(event);
}

void TForm1::showDetails()
{
    reportingFailures([this] { lblDetails->setText(model_->detailsText(ListBox1->currentIndex().row())); });
}

// The last entry asks for a file; with none chosen the series stays as it
// was, be it a series or the file chosen before.
void TForm1::seriesActivated(int index)
{
    reportingFailures([this, index] {
        if (index != cmbSeries->count() - 1) {
            lastSeries_ = index;
            lblValuesFile->clear();
            return;
        }
        const QString start = valuesFilePath_ ? QFile::decodeName(valuesFilePath_->c_str()) : QString();
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Resistor values"), start,
                                                          QStringLiteral("Text files (*.txt);;All files (*)"));
        if (!path.isEmpty())
            setValuesFile(path);
        else
            cmbSeries->setCurrentIndex(lastSeries_);
    });
}

void TForm1::setValuesFile(const QString& path)
{
    valuesFilePath_ = QFile::encodeName(path).toStdString();
    cmbSeries->setCurrentIndex(cmbSeries->count() - 1);
    lastSeries_ = cmbSeries->currentIndex();
    const QString name = QFileInfo(path).fileName();
    lblValuesFile->setText(lblValuesFile->fontMetrics().elidedText(name, Qt::ElideMiddle, lblValuesFile->width()));
    lblValuesFile->setToolTip(path);
    lblValuesFile->setPalette(QPalette());
    markSummaryStale();
}

// A new part tolerance shows in the chosen divider's band at once; one that
// does not read turns red and leaves the band as it was.
void TForm1::readPartTolerance()
{
    reportingFailures([this] {
        const NumberField& field = numberField(Field::PartTol);
        const std::string text = editPartTol->text().toStdString();
        const NumberText& numbers = resultList().numbers();
        const FieldReading reading = readNumber(text, field.range, numbers);
        const std::string problem =
            failed(reading.status) ? fieldProblem(text, reading.status, field.range, numbers) : std::string();
        showVerdict(*editPartTol, {reading.status, problem}, field.caption);
        if (!model_->runParams() || reading.status != FieldStatus::Ok)
            return;
        SearchParams params = *model_->runParams();
        field.use(params, reading.value);
        model_->setRunParams(std::move(params));
        showDetails();
    });
}

} // namespace tarnel
