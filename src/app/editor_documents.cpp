// The editor's document operations: new, open, save, activate and close.

#include "app/command_layout.h"
#include "app/editor.h"
#include "components/command_bars/command_bars.h"
#include "components/drawing_surface/drawing_surface.h"
#include "core/formats/html_import.h"
#include "core/model/app_state.h"
#include "core/operations/document_ops.h"
#include "core/operations/document_save.h"
#include "core/operations/file_formats.h"
#include "core/util/file_io.h"
#include "core/util/prompt.h"
#include "core/util/strings.h"
#include "ui/document_model.h"
#include "ui/document_window.h"
#include "ui/map_chooser_dialog.h"
#include "ui/picture_file.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace karvex {

namespace {

void UseDecodedPictureSize(Document& doc, int width, int height)
{
    MapImage& image = doc.Images[1];
    image.Width = width;
    image.Height = height;
    // The tag was made a moment ago in its fixed form, so it is simply made again.
    doc.ImgTag = NewImgTag(image.Src, width, height, image.UseMap);
}

} // namespace

Editor::Editor(AppState& state, Prompt& prompt, CommandBars& bars, QMdiArea& area, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_prompt(prompt)
    , m_bars(bars)
    , m_area(area)
{
    connect(&m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (auto* document = window ? qobject_cast<DocumentWindow*>(window->widget()) : nullptr)
            ActivateDocument(document->Slot());
    });
}

DocumentWindow* Editor::WindowFor(int slot) const
{
    QMdiSubWindow* window = SubWindowFor(slot);
    return window ? qobject_cast<DocumentWindow*>(window->widget()) : nullptr;
}

QMdiSubWindow* Editor::SubWindowFor(int slot) const
{
    for (QMdiSubWindow* window : m_area.subWindowList()) {
        auto* document = qobject_cast<DocumentWindow*>(window->widget());
        if (document && document->Slot() == slot)
            return window;
    }
    return nullptr;
}

DocumentWindow* Editor::ActiveWindow() const
{
    return m_state.CurrentDocument > 0 ? WindowFor(m_state.CurrentDocument) : nullptr;
}

void Editor::ReportUnsupportedFile()
{
    m_prompt.Tell("You try to open an file type that Karvex not support. Loading has been canceled",
        m_state.AppTitle, PromptIcon::Critical);
}

void Editor::NewDocumentFromPicture(const std::string& path)
{
    std::string picturePath = path;
    if (picturePath.empty()) {
        const auto chosen
            = m_prompt.ChooseOpenFile({ "Select Picture to open", kPictureFilter, 1, "", "" });
        if (!chosen || chosen->empty())
            return;
        picturePath = *chosen;
    }

    WaitCursor busy;
    const LoadedPicture loaded = LoadPicture(picturePath);
    if (loaded.Image.isNull()) {
        m_prompt.Tell(LoadErrorMessage(PictureReason(loaded.Reason), picturePath), m_state.AppTitle,
            PromptIcon::Critical);
        return;
    }
    const QImage& picture = loaded.Image;

    const int slot = CreateDocumentFromPicture(m_state, picturePath);
    Document& doc = m_state.Documents[static_cast<std::size_t>(slot)];
    MapImage& image = doc.Images[1];
    // The header probe knows no BMP; a page with a zero-sized picture would show nothing.
    if (image.Width == 0 && image.Height == 0)
        UseDecodedPictureSize(doc, picture.width(), picture.height());

    AddDocumentWindow(slot, picture);
    ShowImageSize({}, {});
    // A document made from a picture has not been saved anywhere yet.
    if (DocumentWindow* window = WindowFor(slot))
        window->Model().SetModified(true);
    UpdateFileCommands();
}

void Editor::AddDocumentWindow(int slot, const QImage& picture)
{
    auto* document = new DocumentWindow(*this, slot);
    QMdiSubWindow* window = m_area.addSubWindow(document);
    window->setWindowIcon(QIcon(":/icons/pic_Hotspot.png"));
    document->ShowDocument(picture);
    document->RefreshCaption();
    window->showMaximized();
    m_area.setActiveSubWindow(window);
    // The area reports the activation itself as a rule; it is done here only when it did not,
    // since activating a document of many hotspots rebuilds its name tables.
    if (m_activatedSlot != slot)
        ActivateDocument(slot);
}

bool Editor::OpenDocument(const std::string& path, bool picturesAllowed)
{
    std::string target = path;
    if (target.empty()) {
        const auto chosen
            = m_prompt.ChooseOpenFile({ "Select file to open", DocumentFilter(), 1, "", "" });
        if (!chosen || chosen->empty())
            return false;
        target = *chosen;
    }

    if (const auto slot = FindOpenDocument(m_state, target)) {
        if (QMdiSubWindow* window = SubWindowFor(*slot))
            m_area.setActiveSubWindow(window);
        return true;
    }

    ImportContext context;
    context.Ask = &m_prompt;
    context.SearchWithoutMap = m_state.Settings.ini_Search;
    context.Title = m_state.AppTitle;
    context.ChooseMap = [this, &target](const std::vector<MapCandidate>& candidates) {
        return ChooseMapCandidate(candidates, target, m_area.window());
    };
    if (const FileFormat* format = FormatForPath(target)) {
        WaitCursor busy;
        return ShowImportedDocument(format->Read(target, context));
    }
    if (RouteForPath(target, picturesAllowed) == OpenRoute::Picture) {
        const std::size_t before = m_state.Documents.size();
        NewDocumentFromPicture(target);
        return m_state.Documents.size() > before;
    }
    ReportUnsupportedFile();
    return false;
}

bool Editor::ShowImportedDocument(ImportResult result)
{
    if (!result.Ok) {
        // A cancelled choice of map ends the open quietly.
        if (!result.Cancelled)
            m_prompt.Tell(result.Message, m_state.AppTitle, PromptIcon::Critical);
        return false;
    }
    const std::string& picturePath = result.Doc.Images[1].Src;
    const LoadedPicture loaded = LoadPicture(picturePath);
    if (loaded.Image.isNull()) {
        m_prompt.Tell(LoadErrorMessage(PictureReason(loaded.Reason), picturePath), m_state.AppTitle,
            PromptIcon::Critical);
        return false;
    }
    const QImage& picture = loaded.Image;
    const int slot = static_cast<int>(m_state.Documents.size());
    Document& doc = m_state.Documents.emplace_back(std::move(result.Doc));
    // Pictures whose header the probe does not read (BMP) take their decoded size.
    MapImage& image = doc.Images[1];
    if (image.Width <= 0 || image.Height <= 0) {
        image.Width = picture.width();
        image.Height = picture.height();
    }
    m_state.OpenDocuments.Add(doc.Title, std::to_string(slot));
    m_state.CurrentDocument = slot;
    AddDocumentWindow(slot, picture);
    ShowImageSize({}, {});
    UpdateFileCommands();
    return true;
}

bool Editor::SaveDocument(bool useKnownPath, int slot)
{
    if (slot <= 0 || static_cast<std::size_t>(slot) >= m_state.Documents.size())
        return false;
    Document& doc = m_state.Documents[static_cast<std::size_t>(slot)];

    std::string target;
    bool fresh = true;
    if (useKnownPath && !doc.FilePath.empty()) {
        target = doc.FilePath;
        fresh = false;
    } else {
        const auto chosen
            = m_prompt.ChooseSaveFile({ "Save Image map", DocumentFilter(), 2, "", "C:\\Temp\\" });
        if (!chosen || chosen->empty() || *chosen == "0")
            return false;
        target = *chosen;
        if (!FormatForPath(target)) {
            m_prompt.Tell("Karvex saves image maps as " + FormatEndingsText()
                    + " files. Please choose a file name with one of these endings.",
                m_state.AppTitle, PromptIcon::Critical);
            return false;
        }
        if (!EqualsNoCase(target, doc.Title) && m_state.OpenDocuments.Contains(target)) {
            m_prompt.Tell("This file is already open, saving will be canceled.", m_state.AppTitle,
                PromptIcon::Critical);
            return false;
        }
        // The file dialog leaves this question to us: a fresh save replaces the whole file.
        if (FileExists(target)
            && m_prompt.Ask({ "The file " + target
                       + " already exists. Saving replaces all of it with this "
                         "image map.\r\n\r\nDo you want to replace it?",
                   m_state.AppTitle, PromptIcon::Exclamation, PromptButtons::YesNo,
                   PromptAnswer::No })
                != PromptAnswer::Yes)
            return false;
    }

    SaveResult result;
    {
        WaitCursor busy;
        result = SaveDocumentFile(m_state, slot, target, fresh, false);
    }
    if (result.PageChanged) {
        // Another program changed the page's map since it was opened: the user decides whose
        // map the page keeps.
        const PromptAnswer answer = m_prompt.Ask({ result.Error
                + "\r\n\r\nReplace the map in the page with yours, save your map as another "
                  "file, or cancel?",
            m_state.AppTitle, PromptIcon::Exclamation, PromptButtons::YesNoCancel,
            PromptAnswer::Cancel, "Replace Map", "Save As..." });
        if (answer == PromptAnswer::No)
            return SaveDocument(false, slot);
        if (answer != PromptAnswer::Yes)
            return false;
        WaitCursor busy;
        result = SaveDocumentFile(m_state, slot, target, fresh, false, PageConflict::Replace);
    }
    if (!result.Ok) {
        m_prompt.Tell("The file could not be saved.\r\n\r\n" + result.Error, m_state.AppTitle,
            PromptIcon::Critical);
        return false;
    }
    if (DocumentWindow* window = WindowFor(slot)) {
        // The picture path mode may have rewritten SRC for the target's folder.
        if (result.ImgTagChanged)
            window->Model().ImgTagRewritten();
        window->Model().SetModified(false);
        // The title may be another file's now.
        window->RefreshCaption();
    }
    UpdateFileCommands();
    return true;
}

void Editor::ActivateDocument(int slot)
{
    DocumentWindow* window = WindowFor(slot);
    if (!window)
        return;
    m_activatedSlot = slot;
    ActivateDocumentNames(m_state, slot);
    Document& doc = m_state.Documents[static_cast<std::size_t>(slot)];
    const int selected = window->Surface().SelectedFigureId();
    m_state.CurrentHotspot = selected;

    EnableDocumentCommands(m_bars, false);
    UpdateFileCommands();
    ShowDocumentPanels(m_bars, true);
    ShowZoom(doc.Zoom);
    ToggleHideHotspots(true);
    ToggleRulers(true);
    m_bars.SetTicked("t_Support", doc.SupportLines);
    SetPageMode(doc.PageMode);
    SelectionChanged(selected);
    emit documentActivated(window);
    ShowImageSize({}, {});
    SetTool(m_tool);
}

void Editor::CloseActiveDocument()
{
    if (QMdiSubWindow* window = SubWindowFor(m_state.CurrentDocument))
        window->close();
}

bool Editor::CloseAllDocuments()
{
    for (QMdiSubWindow* window : m_area.subWindowList()) {
        if (!window->close())
            return false;
    }
    return true;
}

bool Editor::QueryCloseDocument(int slot)
{
    const Document& doc = m_state.Documents[static_cast<std::size_t>(slot)];
    if (!doc.Changed)
        return true;
    if (QMdiSubWindow* window = SubWindowFor(slot))
        m_area.setActiveSubWindow(window);
    const PromptAnswer answer = m_prompt.Ask({ "Do you want to save changes in " + doc.Title,
        m_state.AppTitle, PromptIcon::Question, PromptButtons::YesNoCancel, PromptAnswer::Yes });
    if (answer == PromptAnswer::Cancel)
        return false;
    if (answer == PromptAnswer::Yes)
        return SaveDocument(true, slot);
    return true;
}

void Editor::DocumentClosed(int slot)
{
    ForgetDocument(m_state, slot);
    bool othersOpen = false;
    for (QMdiSubWindow* window : m_area.subWindowList()) {
        auto* document = qobject_cast<DocumentWindow*>(window->widget());
        othersOpen = othersOpen || (document && document->Slot() != slot);
    }
    ::karvex::SetStatusText(m_bars, {}, StatusPanel::Description);
    emit documentClosed(slot, othersOpen);
    if (!othersOpen) {
        EnableDocumentCommands(m_bars, true);
        EnableFileCommands(m_bars, false);
        ShowDocumentPanels(m_bars, false);
    }
}

void Editor::UpdateFileCommands() { EnableFileCommands(m_bars, m_state.OpenDocuments.Count() > 0); }

} // namespace karvex
