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

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace karvex {

namespace {

constexpr const char* kPicturesCaption = "Picture Files";
// The open dialog's last entry: files of any ending, which are opened by what they hold.
constexpr const char* kAllFilesFilter = "All Files|*";

// The patterns of the picture filter's last entry, which lists every kind of picture.
std::string AllPicturePatterns()
{
    const std::string filter = PictureFilter();
    return filter.substr(filter.rfind('|') + 1);
}

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
        const auto chosen = m_prompt.ChooseOpenFile({ "Select Picture to open", PictureFilter(),
            AllPicturesFilterIndex(), "", DialogFolder() });
        if (!chosen || chosen->empty())
            return;
        picturePath = *chosen;
        RememberFolder(picturePath);
    }

    WaitCursor busy;
    const LoadedPicture loaded = LoadPicture(picturePath);
    if (loaded.Image.isNull()) {
        m_prompt.Tell(LoadErrorMessage(PictureReason(loaded.Reason), picturePath), m_state.AppTitle,
            PromptIcon::Critical);
        return;
    }
    const QImage& picture = loaded.Image;

    const int slot = CreateDocumentFromPicture(m_state, picturePath, &m_prompt);
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
    if (m_startedFromWelcome) {
        m_startedFromWelcome = false;
        emit welcomeScreenDone();
    }
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
    // A file dialog has just closed: when the main window becomes active again it gives the
    // focus back to the widget that last had it, and a widget of another document (its code
    // page) would make that document the active one again.
    document->setFocus(Qt::OtherFocusReason);
    // The area reports the activation itself as a rule; it is done here only when it did not,
    // since activating a document of many hotspots rebuilds its name tables.
    if (m_activatedSlot != slot)
        ActivateDocument(slot);
}

bool Editor::OpenDocument(const std::string& path, bool picturesAllowed)
{
    std::string target = path;
    if (target.empty()) {
        const auto chosen = m_prompt.ChooseOpenFile({ "Select file to open",
            DocumentFilter() + "|" + kPicturesCaption + "|" + AllPicturePatterns() + "|"
                + kAllFilesFilter,
            1, "", DialogFolder() });
        if (!chosen || chosen->empty())
            return false;
        target = *chosen;
        RememberFolder(target);
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
    context.PictureFilter = PictureFilter();
    context.ChooseMap = [this, &target](const std::vector<MapCandidate>& candidates) {
        return ChooseMapCandidate(
            candidates, target, m_area.window(), [this](int contextId) { ShowHelp(contextId); });
    };
    m_lastOpenCancelled = false;
    if (const FileFormat* format = FormatForPath(target)) {
        WaitCursor busy;
        if (!ShowImportedDocument(format->Read(target, context)))
            return false;
        RememberRecentFile(target);
        return true;
    }
    if (picturesAllowed && IsPicturePath(target)) {
        const std::size_t before = m_state.Documents.size();
        NewDocumentFromPicture(target);
        return m_state.Documents.size() > before;
    }
    // Any other ending (a map file named .txt or .cern-map): what the file holds decides.
    if (const FileFormat* format = FormatForFile(target)) {
        WaitCursor busy;
        if (!ShowImportedDocument(format->Read(target, context)))
            return false;
        RememberRecentFile(target);
        return true;
    }
    ReportUnsupportedFile();
    return false;
}

bool Editor::ShowImportedDocument(ImportResult result)
{
    if (!result.Ok) {
        // A cancelled choice of map ends the open quietly.
        m_lastOpenCancelled = result.Cancelled;
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
    if (!result.Warnings.empty())
        m_prompt.Tell(ImportWarningsText(
                          result.Warnings, m_state.Documents[static_cast<std::size_t>(slot)].Title),
            m_state.AppTitle, PromptIcon::Exclamation);
    return true;
}

bool Editor::SaveDocument(bool useKnownPath, int slot)
{
    if (slot <= 0 || static_cast<std::size_t>(slot) >= m_state.Documents.size())
        return false;
    Document& doc = m_state.Documents[static_cast<std::size_t>(slot)];

    std::string target;
    bool fresh = true;
    PageConflict onConflict = PageConflict::Refuse;
    if (useKnownPath && !doc.FilePath.empty()) {
        target = doc.FilePath;
        fresh = false;
    } else {
        const auto chosen = m_prompt.ChooseSaveFile(
            { "Save Image map", DocumentFilter(), 2, SuggestedFileName(doc), DialogFolder() });
        if (!chosen || chosen->empty() || *chosen == "0")
            return false;
        target = *chosen;
        const FileFormat* format = FormatForPath(target);
        if (!format) {
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
        RememberFolder(target);
        // The file dialog leaves this question to us: a page is offered the map, any other file
        // is replaced whole.
        if (FileExists(target) && format->MergesIntoPage) {
            const PromptAnswer answer = m_prompt.Ask({ "The file " + target
                    + " already exists.\r\n\r\nPut this image map into that page (its map of "
                      "the same name is replaced, or the picture and map are added; everything "
                      "else in the page is kept), or replace the whole file with the image map?",
                m_state.AppTitle, PromptIcon::Question, PromptButtons::YesNoCancel,
                PromptAnswer::Yes, "Put Into Page", "Replace File" });
            if (answer == PromptAnswer::Cancel)
                return false;
            if (answer == PromptAnswer::Yes) {
                fresh = false;
                // The document's own page keeps its check for changes made by another program.
                if (target != doc.FilePath)
                    onConflict = PageConflict::Insert;
            }
        } else if (FileExists(target)
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
        result = SaveDocumentFile(m_state, slot, target, fresh, false, onConflict);
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
    if (!result.BackupError.empty())
        m_prompt.Tell("The file " + target
                + " was saved, without a backup of its previous "
                  "version.\r\n\r\n"
                + result.BackupError,
            m_state.AppTitle, PromptIcon::Exclamation);
    // Such as what a map file cannot hold.
    if (!result.Notice.empty())
        m_prompt.Tell(result.Notice, m_state.AppTitle, PromptIcon::Information);
    if (DocumentWindow* window = WindowFor(slot)) {
        // The picture path mode may have rewritten SRC for the target's folder.
        if (result.ImgTagChanged)
            window->Model().ImgTagRewritten();
        window->Model().SetModified(false);
        // The title may be another file's now.
        window->RefreshCaption();
    }
    UpdateFileCommands();
    RememberRecentFile(target);
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
    const PromptAnswer answer = m_prompt.Ask(
        { "Do you want to save changes in " + doc.Title, m_state.AppTitle, PromptIcon::Question,
            PromptButtons::YesNoCancel, PromptAnswer::Yes, "Save", "Don't Save" });
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

std::string Editor::DialogFolder() const
{
    if (m_state.CurrentDocument > 0
        && static_cast<std::size_t>(m_state.CurrentDocument) < m_state.Documents.size()) {
        const Document& doc = m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)];
        // A document not saved yet lives beside its picture.
        const std::string& file = !doc.FilePath.empty()
            ? doc.FilePath
            : (doc.Images.size() > 1 ? doc.Images[1].Src : "");
        const QString folder = QFileInfo(ToDisplay(file)).absolutePath();
        if (!file.empty() && QFileInfo(folder).isDir())
            return FromDisplay(QDir::toNativeSeparators(folder));
    }
    return m_lastFolder;
}

void Editor::RememberFolder(const std::string& path)
{
    m_lastFolder = FromDisplay(QDir::toNativeSeparators(QFileInfo(ToDisplay(path)).absolutePath()));
}

std::string Editor::SuggestedFileName(const Document& doc)
{
    if (!doc.FilePath.empty()) {
        const QFileInfo file(ToDisplay(doc.FilePath));
        if (FormatForPath(doc.FilePath))
            return FromDisplay(file.fileName());
        // A file opened by its content (a map file named .txt) is offered with the ending of
        // what it holds, which a save needs.
        const FileFormat* format = FormatForFile(doc.FilePath);
        return FromDisplay(file.completeBaseName()) + (format ? format->Ending : ".html");
    }
    // A map made from photo.png is offered as photo.html.
    const std::string picture = doc.Images.size() > 1 ? doc.Images[1].Src : std::string();
    const QString base = QFileInfo(ToDisplay(picture)).completeBaseName();
    return base.isEmpty() ? std::string() : FromDisplay(base) + ".html";
}

void Editor::UpdateFileCommands() { EnableFileCommands(m_bars, m_state.OpenDocuments.Count() > 0); }

} // namespace karvex
