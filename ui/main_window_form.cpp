// TForm1's form: its controls at their design places, anchored, fitted, in tab order.
#include "main_window.h"

#include "caption_left_check_box.h"
#include "control_adapters.h"
#include "divider_plot.h"
#include "divider_schematic.h"
#include "fitting.h"
#include "form_controls.h"
#include "picture_saving.h"
#include "result_list_model.h"
#include "result_list_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace tarnel {

namespace {

// Positions and sizes are at 96 dpi; Qt scales them for each screen.
constexpr QSize designClientSize{654, 938};
constexpr int windowFontPixels = 12;
// The panels' bottom edge and the margin under it: the form needs no more height.
constexpr int panelsBottom = 8 + 625 + 8;

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

void TForm1::createForm()
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
    fitCaptions();
    fields_.explainAndFit();
    orderTabs();
}

void TForm1::createControls()
{
    // Created in this order, so that slot 3's controls lie over Panel2.
    Panel1 = makePanel(form_, "Panel1", {237, 8, 204, 625});
    btnStart = placeControl(new QPushButton(QStringLiteral("Start"), Panel1), "btnStart", {16, 568, 177, 41});
    // Enter in any input starts a search, as in a dialog.
    btnStart->setDefault(true);
    ListBox1 = place(new ResultListView(*model_, form_), "ListBox1", {0, 8, 231, 929});
    editUin = makeEdit(fields_, Panel1, "editUin", {120, 16, 73, 33}, Field::Uin);
    editUout = makeEdit(fields_, Panel1, "editUout", {120, 55, 73, 33}, Field::Uout);
    editTol = makeEdit(fields_, Panel1, "editTol", {120, 302, 73, 33}, Field::Tol);
    Label1 = makeLabel(Panel1, "Label1", {16, 19, 58, 25}, QStringLiteral("Uin [V]"));
    Label2 = makeLabel(Panel1, "Label2", {16, 58, 70, 25}, QStringLiteral("Uout [V]"));
    Label3 = makeLabel(Panel1, "Label3", {16, 305, 57, 25}, QStringLiteral("Tol [%]"));
    editRmin = makeEdit(fields_, Panel1, "editRmin", {120, 126, 73, 33}, Field::Rmin);
    Label4 = makeLabel(Panel1, "Label4", {16, 129, 69, 25}, QStringLiteral("Rmin [k]"));
    editRmax = makeEdit(fields_, Panel1, "editRmax", {120, 165, 73, 33}, Field::Rmax);
    Label5 = makeLabel(Panel1, "Label5", {16, 168, 72, 25}, QStringLiteral("Rmax [k]"));
    const auto armBox = [&](const char* name, int y, const char* caption, bool highArm, ArmKind kind) {
        return makeArmBox(fields_, Panel1, name, {16, y, 177, 25}, QString::fromUtf8(caption), highArm, kind);
    };
    chkHi1R = armBox("chkHi1R", 384, "Hi 1xR", true, ArmKind::Single);
    chkHi2Rser = armBox("chkHi2Rser", 408, "Hi R+R", true, ArmKind::Series);
    chkHi2Rpar = armBox("chkHi2Rpar", 432, "Hi R||R", true, ArmKind::Parallel);
    chkLo1R = armBox("chkLo1R", 472, "Lo 1xR", false, ArmKind::Single);
    chkLo2Rser = armBox("chkLo2Rser", 496, "Lo R+R", false, ArmKind::Series);
    chkLo2Rpar = armBox("chkLo2Rpar", 520, "Lo R||R", false, ArmKind::Parallel);
    editMaxResults = makeEdit(fields_, Panel1, "editMaxResults", {122, 341, 71, 33}, Field::MaxResults);
    Label6 = makeLabel(Panel1, "Label6", {16, 344, 100, 25}, QStringLiteral("Max. results"));
    editRsumMax = makeEdit(fields_, Panel1, "editRsumMax", {120, 253, 73, 33}, Field::RsumMax);
    editRsumMin = makeEdit(fields_, Panel1, "editRsumMin", {120, 214, 73, 33}, Field::RsumMin);
    Label7 = makeLabel(Panel1, "Label7", {16, 217, 79, 25}, QStringLiteral("RsumMin"));
    Label8 = makeLabel(Panel1, "Label8", {16, 256, 82, 25}, QStringLiteral("RsumMax"));
    chkDivOnly = fields_.highOverLowOnly =
        makeArmBox(Panel1, "chkDivOnly", {16, 89, 177, 25}, QStringLiteral("1+H/L ( ) / H/L (x)"), false);
    Panel2 = makePanel(form_, "Panel2", {447, 8, 204, 625});
    editSpecVal0 = makeSpecialEdit(fields_, 0, Panel2, "editSpecVal0", {120, 16, 73, 33});
    chkSpecVal0 = makeSpecialBox(fields_, 0, Panel2, "chkSpecVal0", {17, 20, 97, 25});
    editSpecVal1 = makeSpecialEdit(fields_, 1, Panel2, "editSpecVal1", {120, 55, 73, 33});
    chkSpecVal1 = makeSpecialBox(fields_, 1, Panel2, "chkSpecVal1", {17, 59, 97, 25});
    editSpecVal2 = makeSpecialEdit(fields_, 2, Panel2, "editSpecVal2", {120, 94, 73, 33});
    chkSpecVal2 = makeSpecialBox(fields_, 2, Panel2, "chkSpecVal2", {17, 98, 97, 25});
    // Slot 3 lies on the window itself in Panel2's fourth row, anchored like
    // Panel2 so that it stays in that row at every width.
    editSpecVal3 = makeSpecialEdit(fields_, 3, form_, "editSpecVal3", {567, 141, 73, 33});
    chkSpecVal3 = makeSpecialBox(fields_, 3, form_, "chkSpecVal3", {464, 145, 97, 25});

    const Qt::Edges topRight = Qt::TopEdge | Qt::RightEdge;
    anchored_ = {{Panel1, Panel1->geometry(), topRight},
                 {ListBox1, ListBox1->geometry(), Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge},
                 {Panel2, Panel2->geometry(), topRight},
                 {editSpecVal3, editSpecVal3->geometry(), topRight},
                 {chkSpecVal3, chkSpecVal3->geometry(), topRight}};
}

void TForm1::createRunPanel()
{
    Panel3 = makePanel(surface_, "Panel3", {0, 0, 414, 130});
    makeLabel(Panel3, "Label9", {16, 11, 100, 25}, QStringLiteral("Order"));
    cmbOrder = makeChoiceBox(fields_, Panel3, "cmbOrder", {120, 8, 177, 33}, ChoiceId::Order);
    makeLabel(Panel3, "Label10", {16, 50, 100, 25}, QStringLiteral("Part tol [%]"));
    editPartTol = makeEdit(fields_, Panel3, "editPartTol", {120, 47, 73, 33}, Field::PartTol);
    makeLabel(Panel3, "lblNotation", {210, 50, 55, 25}, QStringLiteral("Values"));
    makeChoiceBox(fields_, Panel3, "cmbNotation", {268, 47, 130, 33}, ChoiceId::Notation)
        ->setToolTip(QStringLiteral("Resistors in the lines and details in kilo-ohms, or as parts are marked "
                                    "(4k7, 240R, 1M); saved csv and json keep kilo-ohms"));
    makeLabel(Panel3, "Label11", {16, 89, 100, 25}, QStringLiteral("Series"));
    cmbSeries = makeChoiceBox(fields_, Panel3, "cmbSeries", {120, 86, 130, 33}, ChoiceId::Series);
    cmbSeries->insertItem(fileEntry, QStringLiteral("from file…"));
    entryBeforeFile_ = cmbSeries->currentIndex();
    lblValuesFile = place(new QLabel(Panel3), "lblValuesFile", {258, 89, 140, 25});
    Panel3->setFixedSize(Panel3->size());
}

// The design inputs, in Panel2's empty area under the special slots.
void TForm1::createDesignControls()
{
    makeLabel(Panel2, "lblCriterion", {16, 190, 177, 25}, QStringLiteral("Criterion"));
    makeChoiceBox(fields_, Panel2, "cmbCriterion", {16, 215, 177, 33}, ChoiceId::Criterion);
    makeLabel(Panel2, "lblUse", {16, 257, 100, 25}, QStringLiteral("Use"));
    makeChoiceBox(fields_, Panel2, "cmbUse", {66, 254, 127, 33}, ChoiceId::Use);
    const auto row = [&](const char* labelName, const char* editName, int y, const QString& caption, Field field) {
        makeLabel(Panel2, labelName, {16, y + 3, 100, 25}, caption);
        makeEdit(fields_, Panel2, editName, {120, y, 73, 33}, field);
    };
    row("lblSourceTol", "editSourceTol", 296, QStringLiteral("Source tol [%]"), Field::SourceTol);
    row("lblHiMin", "editHiMin", 335, QStringLiteral("Hi min [k]"), Field::HighArmMin);
    row("lblHiMax", "editHiMax", 374, QStringLiteral("Hi max [k]"), Field::HighArmMax);
    row("lblLoMin", "editLoMin", 413, QStringLiteral("Lo min [k]"), Field::LowArmMin);
    row("lblLoMax", "editLoMax", 452, QStringLiteral("Lo max [k]"), Field::LowArmMax);
    row("lblRoutMax", "editRoutMax", 491, QStringLiteral("Rout max [k]"), Field::OutputImpedanceMax);
    row("lblHiFixed", "editHiFixed", 530, QStringLiteral("Hi fixed [k]"), Field::HighFixed);
    row("lblLoFixed", "editLoFixed", 569, QStringLiteral("Lo fixed [k]"), Field::LowFixed);
}

// The limits an engineer designs by, in a panel of the column under the run
// panel: two to a row, each as its field's row places it.
QFrame* TForm1::createLimitPanel()
{
    struct Place {
        const char* label;
        const char* edit;
        const char* caption;
        Field field;
        int slot;
    };
    // The load and the pin's current share a slot: each use shows its own.
    static constexpr Place places[] = {
        {"lblPowerMax", "editPowerMax", "P max [mW]", Field::PowerMax, 0},
        {"lblCurrentMin", "editCurrentMin", "I min [mA]", Field::CurrentMin, 1},
        {"lblCurrentMax", "editCurrentMax", "I max [mA]", Field::CurrentMax, 2},
        {"lblOutMin", "editOutMin", "Out min [V]", Field::OutMin, 3},
        {"lblOutMax", "editOutMax", "Out max [V]", Field::OutMax, 4},
        {"lblLoad", "editLoad", "Load [k]", Field::Load, 5},
        {"lblPinCurrent", "editPinCurrent", "Pin current [\u00b5A]", Field::PinCurrent, 5},
    };
    // Rows closer than the panels' own, so that the column keeps room for the pictures at 1366 x 768.
    constexpr int rowHeight = 32;
    constexpr int columnWidth = 198;
    auto* panel = makePanel(surface_, "pnlLimits", {});
    constexpr int rows = (places[std::size(places) - 1].slot + 2) / 2;
    for (const Place& place : places) {
        const int x = place.slot % 2 * columnWidth;
        const int y = 4 + place.slot / 2 * rowHeight;
        auto* label = makeLabel(panel, place.label, {16 + x, y + 2, 100, 25}, QString::fromUtf8(place.caption));
        auto* edit = makeEdit(fields_, panel, place.edit, {120 + x, y, 73, 30}, place.field);
        if (const std::optional<DividerUse> only = onlyUseOf(place.field))
            useFieldPlaces_.push_back({*only, label, edit});
    }
    panel->setFixedSize(Panel3->width(), 6 + rows * rowHeight);
    return panel;
}

// The column beside the panels: the run panel, then how the run goes, its
// summary and what the chosen line delivers, in the system's font.
void TForm1::createColumn()
{
    column_->setContentsMargins(6, 8, 8, 8);
    column_->addWidget(Panel3);
    column_->addWidget(createLimitPanel());

    busyPanel = place(new QWidget(surface_), "busyPanel", {});
    auto* busyRow = new QHBoxLayout(busyPanel);
    busyRow->setContentsMargins(0, 0, 0, 0);
    auto* busyBar = place(new QProgressBar(busyPanel), "busyBar", {});
    busyBar->setRange(0, 0); // no end known: the bar only moves
    busyBar->setTextVisible(false);
    lblProgress = place(new QLabel(busyPanel), "lblProgress", {});
    btnStop = place(new QPushButton(QStringLiteral("Stop"), busyPanel), "btnStop", {});
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
                          static_cast<QWidget*>(lblDetails)})
        text->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    // The list's figures line up in columns: fixed-pitch, at the system font's size.
    QFont listFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    listFont.setPointSizeF(QFontDatabase::systemFont(QFontDatabase::GeneralFont).pointSizeF());
    ListBox1->setFont(listFont);
    // A long details line wraps instead of widening the column under the panels.
    lblDetails->setWordWrap(true);
    lblDetails->setFixedWidth(Panel3->width());
    // Room for a divider's details, which take up to ten lines.
    lblDetails->setMinimumHeight(10 * lblDetails->fontMetrics().lineSpacing());
    // The chosen divider drawn under its details, in the system's font too.
    schematicView = place(new DividerSchematicView(surface_), "schematicView", {});
    schematicView->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    column_->addWidget(lblSummary);
    plotView = place(new DividerPlot(surface_), "dividerPlot", {});
    plotView->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    schematicView->setAccessibleName(QStringLiteral("The chosen divider"));
    plotView->setAccessibleName(QStringLiteral("Deviation against total resistance"));
    for (QWidget* picture : {static_cast<QWidget*>(schematicView), static_cast<QWidget*>(plotView)})
        addSavePictureAction(*picture);
    column_->addWidget(lblDetails);
    auto* pictures = new QHBoxLayout;
    pictures->addWidget(schematicView, 0, Qt::AlignLeft | Qt::AlignTop);
    pictures->addWidget(plotView, 1);
    column_->addLayout(pictures, 1);
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

// Captions fit their controls in any font; the fields' values fit theirs
// as the field table binds them.
void TForm1::fitCaptions()
{
    for (QLabel* label : surface_->findChildren<QLabel*>())
        if (!label->wordWrap() && label != lblDetails && label != lblValuesFile)
            fitFont(*label, label->text(), textRoom(*label));
    for (QCheckBox* box : surface_->findChildren<QCheckBox*>())
        fitFont(*box, box->text(), textRoom(*box));
    for (const ChoiceId id : {ChoiceId::Criterion, ChoiceId::Use}) {
        QComboBox& box = *fields_.box(id);
        for (int entry = 0; entry < box.count(); ++entry)
            fitFont(box, box.itemText(entry), textRoom(box));
    }
}

void TForm1::orderTabs()
{
    // Panel1 first, then the list, then Panel2 and slot 3: not the order on
    // screen, but the one users of the tool are used to.
    QWidget* const order[] = {
        btnStart, editUin, editUout, editTol, editRmin, editRmax, chkHi1R, chkHi2Rser, chkHi2Rpar, chkLo1R,
        chkLo2Rser, chkLo2Rpar, editMaxResults, editRsumMax, editRsumMin, chkDivOnly, ListBox1, editSpecVal0,
        chkSpecVal0, editSpecVal1, chkSpecVal1, editSpecVal2, chkSpecVal2, editSpecVal3, chkSpecVal3, cmbOrder,
        editPartTol, cmbSeries, fields_.box(ChoiceId::Criterion), fields_.box(ChoiceId::Use),
        fields_.edit(Field::SourceTol), fields_.edit(Field::HighArmMin), fields_.edit(Field::HighArmMax),
        fields_.edit(Field::LowArmMin), fields_.edit(Field::LowArmMax), fields_.edit(Field::OutputImpedanceMax),
        fields_.box(ChoiceId::Notation),
        fields_.edit(Field::PowerMax), fields_.edit(Field::CurrentMin), fields_.edit(Field::CurrentMax),
        fields_.edit(Field::OutMin), fields_.edit(Field::OutMax), fields_.edit(Field::HighFixed),
        fields_.edit(Field::LowFixed), fields_.edit(Field::Load), fields_.edit(Field::PinCurrent),
    };
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
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

} // namespace tarnel
