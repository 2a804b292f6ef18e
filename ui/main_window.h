#pragma once

#include "request/search_input.h"
#include "search/arm_table.h"
#include "search/result_list.h"
#include "search_runner.h"

#include <QString>
#include <QWidget>

#include <array>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QShortcut;
class QTimer;
class QVBoxLayout;

namespace tarnel {

class ResultListModel;
class ResultListView;

// Tarnel's one window: the inputs of a search, the Start button, the result
// list, and in a column beside the panels the run's summary and what the
// chosen divider delivers. btnStartClick reads the inputs and hands the
// search to a thread of its own, so the window answers during a run.
class TForm1 final : public QWidget {
    Q_OBJECT

public:
    // Numbers are read and written with decimalSeparator, the command line's by default.
    explicit TForm1(QWidget* parent = nullptr, std::string decimalSeparator = systemDecimalSeparator());
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // The controls, each owned by its Qt parent and named as its objectName.
    QFrame* Panel1;
    QPushButton* btnStart;
    ResultListView* ListBox1;
    QLineEdit* editUin;
    QLineEdit* editUout;
    QLineEdit* editTol;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* editRmin;
    QLabel* Label4;
    QLineEdit* editRmax;
    QLabel* Label5;
    QCheckBox* chkHi1R;
    QCheckBox* chkHi2Rser;
    QCheckBox* chkHi2Rpar;
    QCheckBox* chkLo1R;
    QCheckBox* chkLo2Rser;
    QCheckBox* chkLo2Rpar;
    QLineEdit* editMaxResults;
    QLabel* Label6;
    QLineEdit* editRsumMax;
    QLineEdit* editRsumMin;
    QLabel* Label7;
    QLabel* Label8;
    QCheckBox* chkDivOnly;
    QFrame* Panel2;
    QLineEdit* editSpecVal0;
    QCheckBox* chkSpecVal0;
    QLineEdit* editSpecVal1;
    QCheckBox* chkSpecVal1;
    QLineEdit* editSpecVal2;
    QCheckBox* chkSpecVal2;
    QLineEdit* editSpecVal3;
    QCheckBox* chkSpecVal3;
    // Beyond the controls above, in a column beside the panels.
    QFrame* Panel3;
    QLabel* Label9;
    QComboBox* cmbOrder;
    QLabel* Label10;
    QLineEdit* editPartTol;
    QLabel* Label11;
    QComboBox* cmbSeries; // the series, then "from file…"
    QLabel* lblValuesFile;
    // Shown while a run takes longer than a moment: a busy bar, the count
    // found so far and the Stop button (Esc).
    QWidget* busyPanel;
    QProgressBar* busyBar;
    QLabel* lblProgress;
    QPushButton* btnStop;
    QLabel* lblSummary;
    QLabel* lblDetails;
    // The design inputs, in Panel2's empty area under the special slots.
    QLabel* lblCriterion;
    QComboBox* cmbCriterion;
    QLabel* lblUse;
    QComboBox* cmbUse;
    QLabel* lblSourceTol;
    QLineEdit* editSourceTol;
    QLabel* lblHiMin;
    QLineEdit* editHiMin;
    QLabel* lblHiMax;
    QLineEdit* editHiMax;
    QLabel* lblLoMin;
    QLineEdit* editLoMin;
    QLabel* lblLoMax;
    QLineEdit* editLoMax;
    QLabel* lblRoutMax;
    QLineEdit* editRoutMax;

    // Reads the inputs and starts a search; a press during a run is dropped.
    void btnStartClick();
    // Ends the running search soon; the list stays empty and the summary reads "Stopped".
    void stopSearch();
    [[nodiscard]] bool searching() const { return searching_; }
    // Adds a group of inputs to the column beside the panels, under the others.
    void addInputGroup(QWidget* group);
    // Chooses the file of resistor values the search tries, as the file
    // dialog does.
    void setValuesFile(const QString& path);

    // The lines ListBox1 shows; tests limit its capacity to make a run fail.
    [[nodiscard]] ResultList& resultList();
    [[nodiscard]] ResultListModel& resultModel() { return *model_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Enter in any input presses Start.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The surface's resizes place the anchored controls.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The inputs of the column that a run's summary holds for.
    struct SummaryInputs {
        int order = 0;
        QString partTolerance;
        int series = 0;
        std::optional<std::string> valuesFile;
        bool operator==(const SummaryInputs&) const = default;
    };

    struct Anchored {
        QWidget* control;
        QRect designGeometry;
        Qt::Edges anchors;
    };

    void createControls();
    void createRunPanel();
    void createDesignControls();
    void createColumn();
    // The client size the window opens at: the list as wide as the lines of
    // a run of every arm shape, and the column beside the panels.
    [[nodiscard]] QSize openingSize() const;
    void fitCaptionsAndValues();
    void orderTabs();
    void placeAnchored(QSize clientSize);
    void showDetails();
    void readPartTolerance();
    void seriesActivated(int index);
    void searchFinished(const SearchOutcome& outcome);
    void showProgress();
    void setInputsEnabled(bool enabled);
    [[nodiscard]] SummaryInputs summaryInputs() const;
    void markSummaryStale();

    // The controls of the field tables, in their order.
    [[nodiscard]] std::array<QLineEdit*, numberFields.size()> numberEdits() const;
    [[nodiscard]] std::array<QCheckBox*, armKinds.size()> armChecks(bool highArm) const;
    [[nodiscard]] std::array<QLineEdit*, specialSlotCount> specialEdits() const;
    [[nodiscard]] std::array<QCheckBox*, specialSlotCount> specialChecks() const;
    [[nodiscard]] std::array<QComboBox*, choiceFields.size()> choiceBoxes() const;
    // What the controls hold, as a search reads it.
    [[nodiscard]] SearchInput readControls() const;
    // Paints every field read, and says why a stock file cannot be used.
    void showReading(const InputReading& reading);

    ResultListModel* model_; // owns the lines; a child, so it outlives no view of them
    // Every control lies on the surface, which scrolls where the window is
    // smaller than the controls need: the described controls on the form,
    // anchored to its edges, and beside it the column of groups.
    QScrollArea* scrollArea_;
    QWidget* surface_;
    QWidget* form_;
    QVBoxLayout* column_;
    int inputGroups_ = 1; // the groups at the column's top, Panel3 the first
    std::vector<Anchored> anchored_;
    std::optional<std::string> valuesFilePath_; // in the file system's encoding
    int lastSeries_ = 0;                           // the entry to go back to when no file is chosen
    QString runSummary_;                           // of the lines the list shows, or empty
    SummaryInputs runInputs_;                      // as the run shown read them
    QTimer* busyDelay_;
    QTimer* progressTimer_;
    QShortcut* stopShortcut_;
    bool searching_ = false;
    ArmTableCache armTables_; // kept from one press of Start to the next
    // Declared last, so that a running search is stopped and waited for
    // before the cache and the list (a child, gone with QWidget) it fills.
    SearchRunner runner_;
};

// The one main window, set while the application holds it.
extern TForm1* Form1;

} // namespace tarnel
