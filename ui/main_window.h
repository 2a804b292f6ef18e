#pragma once

#include "field_controls.h"
#include "request/presets.h"
#include "search/arm_table.h"
#include "search/result_list.h"
#include "search_runner.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QAction;
class QScrollArea;
class QSettings;
class QTimer;
class QVBoxLayout;

namespace tarnel {

class DividerPlot;
class DividerSchematicView;
class ResultListModel;
class ResultListView;

// Tarnel's one window: the inputs of a search, the Start button, the result
// list, and in a column beside the panels the run's summary and what the
// chosen divider delivers. btnStartClick reads the inputs and hands the
// search to a thread of its own, so the window answers during a run.
// The form, its controls and their places, is made in main_window_form.cpp;
// each control is named as its objectName, by which tests find it.
class TForm1 final : public QWidget {
    Q_OBJECT

public:
    // Numbers are read and written with decimalSeparator, the command line's by default.
    explicit TForm1(QWidget* parent = nullptr, std::string decimalSeparator = systemDecimalSeparator());
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Reads the inputs and starts a search; a press during a run is dropped.
    void btnStartClick();
    // Ends the running search soon; the list stays empty and the summary reads "Stopped".
    void stopSearch();
    [[nodiscard]] bool searching() const { return searching_; }
    // Chooses the file of resistor values the search tries, as the file
    // dialog does.
    void setValuesFile(const QString& path);
    // Asks for a file of resistor values; with none chosen the series stays as it was.
    void chooseValuesFile();
    // Every input as at the first start, and no stock file.
    void resetToDefaults();

    // The inputs, the window's geometry and the last folders, kept in
    // settings from one start to the next (main_window_state.cpp). A stock
    // file that is gone is dropped, and the summary says so.
    void restoreState(QSettings& settings);
    void saveState(QSettings& settings) const;

    // Presets, in the file tarnel-cli --preset reads (main_window_presets.cpp).
    // Loading one sets the inputs and starts no search.
    void loadPreset(const QString& name);
    void savePreset(const QString& name);
    void deletePreset(const QString& name);

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
    struct Anchored {
        QWidget* control;
        QRect designGeometry;
        Qt::Edges anchors;
    };

    // The series box lists the series, then the entry that asks for a file.
    static constexpr int fileEntry = static_cast<int>(seriesChoices.size());

    // The form: main_window_form.cpp.
    void createForm();
    void createControls();
    void createRunPanel();
    void createDesignControls();
    [[nodiscard]] QFrame* createLimitPanel();
    void createColumn();
    // The client size the window opens at: the list as wide as the lines of
    // a run of every arm shape, and the column beside the panels.
    [[nodiscard]] QSize openingSize() const;
    void fitCaptions();
    void orderTabs();
    void placeAnchored(QSize clientSize);
    // The menu bar above the form: main_window_menu.cpp.
    void createMenus();
    void copyDetails();
    void showManual();
    void showAbout();
    void fillPresetsMenu(QMenu& menu);
    [[nodiscard]] std::vector<Preset> readPresetsFile();
    void writePresetsFile(const std::vector<Preset>& presets);
    // Sets the inputs read, and says in the summary what could not be used.
    void showInputs(const EntriesReading& reading);

    // The run, the summary and the column's inputs: main_window.cpp.
    void connectControls();
    void captionsFollowUse();
    [[nodiscard]] DividerUse chosenUse() const;
    [[nodiscard]] SearchInput searchedInput() const;
    void showDetails();
    void chooseLine(int line);
    void readPartTolerance();
    void seriesActivated(int index);
    [[nodiscard]] bool fileChosen() const;
    void searchFinished(const SearchOutcome& outcome);
    void showProgress();
    void setInputsEnabled(bool enabled);
    void markSummaryStale();
    // What the controls hold, as a search reads it.
    [[nodiscard]] SearchInput readControls() const;
    // Paints every field read, and says why a stock file cannot be used.
    void showReading(const InputReading& reading);

    ResultListModel* model_; // owns the lines; a child, so it outlives no view of them
    QMenuBar* menuBar_;
    // Every control lies on the surface, which scrolls where the window is
    // smaller than the controls need: the described controls on the form,
    // anchored to its edges, and beside it the column of groups.
    QScrollArea* scrollArea_;
    QWidget* surface_;
    QWidget* form_;
    QVBoxLayout* column_;
    std::vector<Anchored> anchored_;

    // The controls the window works with after making them, each owned by its Qt parent.
    QFrame* Panel1 = nullptr;
    QPushButton* btnStart = nullptr;
    ResultListView* ListBox1 = nullptr;
    QLineEdit* editUin = nullptr;
    QLineEdit* editUout = nullptr;
    QLineEdit* editTol = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* editRmin = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* editRmax = nullptr;
    QLabel* Label5 = nullptr;
    QCheckBox* chkHi1R = nullptr;
    QCheckBox* chkHi2Rser = nullptr;
    QCheckBox* chkHi2Rpar = nullptr;
    QCheckBox* chkLo1R = nullptr;
    QCheckBox* chkLo2Rser = nullptr;
    QCheckBox* chkLo2Rpar = nullptr;
    QLineEdit* editMaxResults = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* editRsumMax = nullptr;
    QLineEdit* editRsumMin = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QCheckBox* chkDivOnly = nullptr;
    QFrame* Panel2 = nullptr;
    QLineEdit* editSpecVal0 = nullptr;
    QCheckBox* chkSpecVal0 = nullptr;
    QLineEdit* editSpecVal1 = nullptr;
    QCheckBox* chkSpecVal1 = nullptr;
    QLineEdit* editSpecVal2 = nullptr;
    QCheckBox* chkSpecVal2 = nullptr;
    QLineEdit* editSpecVal3 = nullptr;
    QCheckBox* chkSpecVal3 = nullptr;
    // Beyond the controls above, in a column beside the panels.
    QFrame* Panel3 = nullptr;
    QComboBox* cmbOrder = nullptr;
    QLineEdit* editPartTol = nullptr;
    QComboBox* cmbSeries = nullptr;
    QLabel* lblValuesFile = nullptr;
    // Shown while a run takes longer than a moment: the count found so far
    // and the Stop button (Esc).
    QWidget* busyPanel = nullptr;
    QLabel* lblProgress = nullptr;
    QPushButton* btnStop = nullptr;
    QLabel* lblSummary = nullptr;
    QLabel* lblDetails = nullptr;
    DividerSchematicView* schematicView = nullptr; // the chosen divider drawn, under its details
    DividerPlot* plotView = nullptr;               // every listed divider, beside the schematic
    FieldControls fields_; // every control of the field table, as its rows are

    std::optional<std::string> valuesFilePath_; // in the file system's encoding
    int entryBeforeFile_ = 0;                      // of the series box, to go back to when no file is chosen
    QString runSummary_;                           // of the lines the list shows, or empty
    SearchInput runInputs_;                        // as the run shown read them
    struct UseFieldPlace {
        DividerUse use;
        QLabel* label;
        QLineEdit* edit;
    };
    std::vector<UseFieldPlace> useFieldPlaces_; // the fields one use alone reads, shown in it
    bool detailsStale_ = false;                    // the inputs differ from runInputs_
    QString valuesFolder_;                         // where the stock file dialog opens
    QTimer* busyDelay_;
    QTimer* progressTimer_;
    QAction* stopAction_ = nullptr; // Esc, during a run only
    bool searching_ = false;
    ArmTableCache armTables_; // kept from one press of Start to the next
    // Declared last, so that a running search is stopped and waited for
    // before the cache and the list (a child, gone with QWidget) it fills.
    SearchRunner runner_;
};

// The window's control of that objectName, for the tests and benchmarks that
// drive the window as a user would; a name it lacks is their fault, and fatal.
template <class Control>
[[nodiscard]] Control* control(const TForm1& window, const char* name)
{
    auto* found = window.findChild<Control*>(QLatin1String(name));
    if (found == nullptr)
        qFatal("TForm1 has no %s", name);
    return found;
}

} // namespace tarnel
