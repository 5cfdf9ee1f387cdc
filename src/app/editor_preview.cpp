// The editor's preview in the browser: the current map written to a preview page, which the
// desktop's browser then opens.

#include "app/editor.h"
#include "core/model/app_state.h"
#include "core/operations/document_save.h"
#include "core/operations/preview_plan.h"
#include "core/util/file_io.h"
#include "core/util/prompt.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include <QUrl>

namespace karvex {

namespace {

// The page and the map in it: the picture path may be rewritten for the preview's folder, but the
// document keeps its own IMG tag.
SaveResult WritePreview(AppState& state, int slot, const PreviewPlan& plan)
{
    Document& doc = state.Documents[static_cast<std::size_t>(slot)];
    if (plan.Kind == PreviewKind::CopyOfPage) {
        const ReadResult page = ReadWholeFile(doc.FilePath);
        SaveResult failed;
        if (!page.Ok) {
            failed.Error
                = "The file " + doc.FilePath + " could not be read.\r\nReason : " + page.Reason;
            return failed;
        }
        if (const WriteResult written = WriteWholeFile(plan.Target, page.Bytes); !written) {
            failed.Error = "The file " + plan.Target
                + " could not be written.\r\nReason : " + written.Reason;
            return failed;
        }
    }
    const std::string imgTag = doc.ImgTag;
    const bool fresh = plan.Kind == PreviewKind::GeneratedPage;
    // The copy is the page as it is on disk: its map of the same name is the one to replace.
    SaveResult result
        = SaveDocumentFile(state, slot, plan.Target, fresh, true, PageConflict::Replace);
    doc.ImgTag = imgTag;
    return result;
}

} // namespace

void Editor::Preview()
{
    if (!ActiveWindow())
        return;
    const int slot = m_state.CurrentDocument;
    Document& doc = m_state.Documents[static_cast<std::size_t>(slot)];
    if (PreviewUseMap(doc).empty()) {
        m_prompt.Tell("You have to set an USEMAP value before you can preview this document.",
            m_state.AppTitle, PromptIcon::Critical);
        return;
    }
    PreviewPlan plan = PlanPreview(doc, m_state.Settings, m_state.AppPath);
    if (!plan.Error.empty()) {
        m_prompt.Tell(plan.Error, m_state.AppTitle, PromptIcon::Critical);
        return;
    }
    if (plan.Kind == PreviewKind::OwnPage) {
        // The settings ask for the map in the page itself: that is a save.
        if (SaveDocument(true, slot))
            OpenUrl(FromDisplay(QUrl::fromLocalFile(ToDisplay(plan.Target)).toString()));
        return;
    }

    // ini_TestAction: 1 save, 2 ask, 3 never. A document without changes has nothing to save.
    const int testAction = m_state.Settings.ini_TestAction;
    if (doc.Changed
        && (testAction == 1
            || (testAction == 2
                && m_prompt.Ask({ "Do you want to save changes in this file before testing?",
                       m_state.AppTitle, PromptIcon::Question, PromptButtons::YesNo,
                       PromptAnswer::No })
                    == PromptAnswer::Yes))) {
        // A document saved for the first time now has a folder for its preview.
        if (SaveDocument(true, slot))
            plan = PlanPreview(doc, m_state.Settings, m_state.AppPath);
    }
    if (!plan.Error.empty()) {
        m_prompt.Tell(plan.Error, m_state.AppTitle, PromptIcon::Critical);
        return;
    }

    SaveResult result;
    {
        WaitCursor busy;
        result = WritePreview(m_state, slot, plan);
    }
    if (!result.Ok) {
        m_prompt.Tell("The preview could not be written.\r\n\r\n" + result.Error, m_state.AppTitle,
            PromptIcon::Critical);
        return;
    }
    OpenUrl(FromDisplay(QUrl::fromLocalFile(ToDisplay(plan.Target)).toString()));
}

} // namespace karvex
