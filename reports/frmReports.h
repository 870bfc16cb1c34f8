#pragma once

#include "reports/ReportFilters.h"
#include "shell/ContentForm.h"

#include <array>
#include <memory>

class Panel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class clsReports;

// The Reports screen: the report catalogue, the chosen report's description and a filter
// panel that shows only the filters and options the chosen report offers. Its run button
// opens the report in the preview, or sends the bulk e-mail.
class frmReports : public ContentForm {
    Q_OBJECT
public:
    explicit frmReports(QWidget* parent = nullptr);
    ~frmReports() override;

    // The catalogue, built at load.
    const clsReports& Reports() const { return *m_reports; }

    QLabel* Label1 = nullptr;
    QListWidget* ReportList = nullptr;
    Panel* DescPanel = nullptr;
    QLabel* Label2 = nullptr;
    Panel* FilterPanel = nullptr;
    std::array<QComboBox*, kFilterListCount> Select_Filter{};
    std::array<QLabel*, kFilterListCount> lblLabels{};
    std::array<QLineEdit*, 1> Text_Filter{};
    std::array<QLabel*, 1> Text_Filter_Label{};
    QPushButton* cmdReset = nullptr;
    QLabel* lblBarcode = nullptr;
    QCheckBox* chkBarcode = nullptr;
    QLabel* lblCombine = nullptr;
    QCheckBox* chkCombine = nullptr;
    QLabel* lblLine1 = nullptr;
    QLineEdit* txtLine1 = nullptr;
    QLabel* lblLine1Example = nullptr;
    QLabel* Select_Sort_Label = nullptr;
    QComboBox* Select_Sort = nullptr;
    Panel* SignUpPanel = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtEventName = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtEventDetails = nullptr;
    QPushButton* cmdPreview = nullptr;

protected:
    void Form_Load() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();

    void Form_Resize();
    void ReportList_Click(int row);
    void cmdReset_Click();
    void cmdPreview_Click();
    void LoadReportList();
    void ArrangeFilters();
    void ClearFilters();
    QString BuildReportFilter() const;
    QString selectedText() const;
    void runReport(const QString& text);
    void clearHandOverValues();

    void LoadStatusFilter();
    void LoadIncludeFilter();
    void LoadYesNoFilters();
    void LoadYearFilter();
    void LoadTeamFilter();
    void LoadSchoolFilter();
    void LoadGradeFilter();
    void LoadSortList();
    void LoadGenderFilter();
    void LoadMeetingTypeFilter();
    void fillDistinctList(QComboBox* list, const QString& sql);

    std::unique_ptr<clsReports> m_reports;
    // Why the data file could not be read at load; empty when it could.
    QString m_dataProblem;
    // The filters the chosen entry offers, marked by the list click for the arranging.
    std::array<bool, kFilterCount> m_marked{};
};
