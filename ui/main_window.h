#pragma once

#include "request/search_input.h"
#include "search/arm_table.h"
#include "search/result_list.h"

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
class QPushButton;
class QScrollArea;

namespace tarnel {

class ResultListModel;
class ResultListView;

// Tarnel's one window: the inputs of a search, the Start button, the result
// list, and under the panels the run's summary and what the chosen divider
// delivers. All it computes happens in btnStartClick.
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
    // Beyond the controls above, in the empty area under the panels.
    QFrame* Panel3;
    QLabel* Label9;
    QComboBox* cmbOrder;
    QLabel* Label10;
    QLineEdit* editPartTol;
    QLabel* Label11;
    QComboBox* cmbSeries; // the series, then "from file…"
    QLabel* lblValuesFile;
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

    void btnStartClick();
    // Chooses the file of resistor values the search tries, as the file
    // dialog does.
    void setValuesFile(const QString& path);

    // The lines ListBox1 shows; tests limit its capacity to make a run fail.
    [[nodiscard]] ResultList& resultList();
    [[nodiscard]] ResultListModel& resultModel() { return *model_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The surface's resizes place the anchored controls.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Anchored {
        QWidget* control;
        QRect designGeometry;
        Qt::Edges anchors;
    };

    void createControls();
    void createRunPanel();
    void createDesignControls();
    void fitCaptionsAndValues();
    void orderTabs();
    void placeAnchored(QSize clientSize);
    void showDetails();
    void readPartTolerance();
    void seriesActivated(int index);

    // The controls of the field tables, in their order.
    [[nodiscard]] std::array<QLineEdit*, numberFields.size()> numberEdits() const;
    [[nodiscard]] std::array<QCheckBox*, armBoxes.size()> armChecks() const;
    [[nodiscard]] std::array<QLineEdit*, specialSlotCount> specialEdits() const;
    [[nodiscard]] std::array<QCheckBox*, specialSlotCount> specialChecks() const;
    [[nodiscard]] std::array<QComboBox*, choiceFields.size()> choiceBoxes() const;
    // What the controls hold, as a search reads it.
    [[nodiscard]] SearchInput readControls() const;
    // Paints every field read, and says why a stock file cannot be used.
    void showReading(const InputReading& reading);

    ResultListModel* model_; // owns the lines; a child, so it outlives no view of them
    // Every control lies on the surface, which scrolls where the window is
    // smaller than the controls need.
    QScrollArea* scrollArea_;
    QWidget* surface_;
    std::vector<Anchored> anchored_;
    std::optional<std::string> valuesFilePath_; // in the file system's encoding
    int lastSeries_ = 0;                           // the entry to go back to when no file is chosen
    ArmTableCache armTables_;                      // kept from one press of Start to the next
};

// The one main window, set while the application holds it.
extern TForm1* Form1;

} // namespace tarnel
