#include "core/operations/preview_plan.h"

#include "core/formats/tag_reader.h"
#include "core/operations/file_formats.h"

#include <filesystem>
#include <system_error>

namespace karvex {

namespace {

constexpr const char* kDefaultCopyName = "kvxtmpfile.html";

std::string InFolder(const std::filesystem::path& folder, const std::string& name)
{
    return (folder / name).string();
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
    // Only a name: the copy stays beside the page, whatever the setting holds.
    std::string name = std::filesystem::path(settings.ini_DocFilename).filename().string();
    if (name.empty() || name == "." || name == "..")
        name = kDefaultCopyName;
    plan.Kind = PreviewKind::CopyOfPage;
    plan.Target = InFolder(folder, name);
    if (SameFile(plan.Target, doc.FilePath)) {
        plan.Error = "The preview copy would be written over the page itself (" + doc.FilePath
            + "). Give the preview's temporary file another name in the options.";
        plan.Target.clear();
    }
    return plan;
}

} // namespace karvex
