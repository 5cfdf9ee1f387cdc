#include "core/operations/preview_plan.h"

#include "core/formats/tag_reader.h"
#include "core/operations/file_formats.h"
#include "core/settings/ini_file.h"

#include <filesystem>
#include <system_error>

namespace karvex {

namespace {

constexpr const char* kDefaultCopyName = "kvxtmpfile.html";
constexpr std::size_t kQuotedNameBytes = 60;

std::string InFolder(const std::filesystem::path& folder, const std::string& name)
{
    return (folder / name).string();
}

// What is wrong with the preview copy's name as a file name in the page's folder; "" when
// nothing is.
std::string CopyNameFault(const std::string& name)
{
    // kvx.ini keeps 254 characters of a value: a name that long may have lost its end.
    if (name.size() >= kProfileValueMaxLength)
        return "it is 254 characters or longer, and the settings file keeps no more of it";
    if (name == "." || name == "..")
        return "\".\" and \"..\" name folders, not files";
    for (const char c : name) {
        if (c == '/' || c == '\\')
            return "it holds a folder separator (/ or \\)";
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "it holds a control character";
    }
    return {};
}

// The name as the message quotes it: control characters as "?", a long name cut.
std::string QuotedName(const std::string& name)
{
    std::string shown;
    for (const char c : name)
        shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    if (shown.size() > kQuotedNameBytes) {
        std::size_t cut = kQuotedNameBytes;
        // Not inside a UTF-8 sequence: continuation bytes are 10xxxxxx.
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
            --cut;
        shown = shown.substr(0, cut) + "...";
    }
    return "\"" + shown + "\"";
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec))
        return true;
    return std::filesystem::path(a).lexically_normal()
        == std::filesystem::path(b).lexically_normal();
}

} // namespace

std::string PreviewUseMap(const Document& doc)
{
    return GetAttribute(ParseTag(doc.ImgTag), "USEMAP", "");
}

PreviewPlan PlanPreview(
    const Document& doc, const GlobalSettings& settings, const std::string& programFolder)
{
    PreviewPlan plan;
    const std::filesystem::path own(doc.FilePath);
    const std::filesystem::path folder
        = doc.FilePath.empty() ? std::filesystem::path(programFolder) : own.parent_path();
    plan.Target = InFolder(folder, kPreviewFileName);

    const FileFormat* format = doc.FilePath.empty() ? nullptr : FormatForPath(doc.FilePath);
    const bool isPage = format && format->MergesIntoPage;
    // ini_DocExisting 2: the whole page; it needs a page to show.
    if (settings.ini_DocExisting != 2 || !isPage) {
        if (!doc.FilePath.empty() && SameFile(plan.Target, doc.FilePath)) {
            plan.Error = "The preview page would be written over the document's own file ("
                + doc.FilePath + "). Save the image map under another name to preview it.";
            plan.Target.clear();
        }
        return plan;
    }

    if (settings.ini_DocTmpFile) {
        plan.Kind = PreviewKind::OwnPage;
        plan.Target = doc.FilePath;
        return plan;
    }
    // The copy stays beside the page: a name that could lead elsewhere is refused, not mended.
    plan.Kind = PreviewKind::CopyOfPage;
    const std::string& typed = settings.ini_DocFilename;
    if (const std::string fault = CopyNameFault(typed); !fault.empty()) {
        plan.Error = "The preview's temporary file name " + QuotedName(typed)
            + " (Options, Ext.Preview, \"Save it in an temporary file :\") must be a plain file "
              "name in the page's folder, but "
            + fault + ". Nothing was written.";
        plan.Target.clear();
        return plan;
    }
    const std::string name = typed.empty() ? kDefaultCopyName : typed;
    plan.Target = InFolder(folder, name);
    if (SameFile(plan.Target, doc.FilePath)) {
        plan.Error = "The preview copy would be written over the page itself (" + doc.FilePath
            + "). Give the preview's temporary file another name in the options.";
        plan.Target.clear();
    }
    return plan;
}

} // namespace karvex
