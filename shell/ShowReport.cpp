#include "shell/ShowReport.h"

#include "shell/ContentForm.h"
#include "shell/Conversions.h"
#include "shell/ProgramState.h"
#include "shell/ScreenRegistry.h"
#include "shell/WindowHelpers.h"
#include "shell/frmMainMDI.h"
#include "shell/Panel.h"
#include "platform/report/Report.h"

#include <stdexcept>

namespace {
const QString kPreviewForm = QStringLiteral("frmCustomActiveReportsPreview");
}

void ShowReport(std::shared_ptr<report::Report> report, bool show)
{
    frmMainMDI* main = program().MainForm.get();
    if (!main)
        throw std::logic_error("There is no main window to show the report in.");

    if (!show) {
        std::int16_t node = program().ReturnNodeIndex;
        if (node < 1 || node > 5)
            node = 1;
        main->ClickNode(node);
        return;
    }

    PreviewForm* preview = main->Preview();
    const bool created = !preview;
    if (created) {
        ContentForm* screen = ScreenRegistry::createScreen(kPreviewForm);
        preview = dynamic_cast<PreviewForm*>(screen);
        if (!preview) {
            delete screen;
            throw std::logic_error("No report preview screen is available.");
        }
    }
    try {
        preview->Load();
        preview->SetReport(report);
    } catch (...) {
        // A preview that never got hosted must not stay loaded behind the screens.
        if (created)
            preview->Unload();
        throw;
    }

    QWidget* hosted = GetFirstChildWindow(main->ContentPanel);
    if (hosted && hosted != preview && FindFormIndex(hosted) >= 0)
        program().ReturnNodeIndex = main->CurrentNodeIndex();

    main->CoverWithPreview(preview);
    const QString caption = report ? ToString(data::Variant(report->Caption()), QString()) : QString();
    main->NewContentForm(QStringLiteral("Report Preview - ") + caption);
}
