// Where a preview goes under each [ExternalPreview] setting, and that the user's page is written
// into only when the settings ask for it.

#include "core/operations/preview_plan.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace karvex;

namespace {

struct PlanCase
{
    const char* Label;
    const char* FilePath; // relative to the test folder; "" never saved
    int DocExisting; // 1 working map, 2 whole document
    bool DocTmpFile; // true: over the page itself
    const char* CopyName;
    PreviewKind Kind;
    const char* Target; // relative to the test folder; "" for an error
};

const PlanCase kPlanCases[] = {
    { "never saved: program folder", "", 1, false, "", PreviewKind::GeneratedPage,
        "program/kvx30preview.html" },
    { "never saved, whole page wanted: no page, so generated", "", 2, true, "",
        PreviewKind::GeneratedPage, "program/kvx30preview.html" },
    { "page, working map: beside the page", "site/page.html", 1, true, "",
        PreviewKind::GeneratedPage, "site/kvx30preview.html" },
    { "page, whole page in a copy", "site/page.html", 2, false, "copy.html",
        PreviewKind::CopyOfPage, "site/copy.html" },
    { "empty copy name takes the default", "site/page.html", 2, false, "", PreviewKind::CopyOfPage,
        "site/kvxtmpfile.html" },
    { "copy named as the page is refused", "site/page.html", 2, false, "page.html",
        PreviewKind::CopyOfPage, "" },
    { "a page named as the preview page is not overwritten", "site/kvx30preview.html", 1, false, "",
        PreviewKind::GeneratedPage, "" },
    { "whole page over the page itself", "site/page.html", 2, true, "", PreviewKind::OwnPage,
        "site/page.html" },
    { "a project has no page: generated beside it", "site/map.kvp", 2, true, "",
        PreviewKind::GeneratedPage, "site/kvx30preview.html" },
    { "a map file has no page: generated beside it", "site/map.map", 2, false, "copy.html",
        PreviewKind::GeneratedPage, "site/kvx30preview.html" },
};

TEST(PreviewPlanTest, TargetFollowsSettingsAndDocument)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "site");
    for (const PlanCase& c : kPlanCases) {
        SCOPED_TRACE(c.Label);
        Document doc;
        doc.FilePath = *c.FilePath ? dir.File(c.FilePath) : "";
        GlobalSettings settings;
        settings.ini_DocExisting = c.DocExisting;
        settings.ini_DocTmpFile = c.DocTmpFile;
        settings.ini_DocFilename = c.CopyName;
        const PreviewPlan plan = PlanPreview(doc, settings, dir.File("program"));
        EXPECT_EQ(plan.Kind, c.Kind);
        if (*c.Target) {
            EXPECT_EQ(plan.Target, dir.File(c.Target));
            EXPECT_EQ(plan.Error, "");
        } else {
            EXPECT_EQ(plan.Target, "");
            EXPECT_NE(plan.Error.find(doc.FilePath), std::string::npos) << plan.Error;
        }
    }
}

// The copy's name as typed in the options: only a plain name is taken, anything else is refused
// with a message that quotes it, and no target is given.
TEST(PreviewPlanTest, CopyNameMustBeAPlainFileName)
{
    test::TempDir dir;
    Document doc;
    doc.FilePath = dir.File("site/page.html");
    GlobalSettings settings;
    settings.ini_DocExisting = 2;
    settings.ini_DocTmpFile = false;
    // What kvx.ini gives back of a 300-character name: its first 254 characters.
    const std::string longName = std::string(254, 'n');
    const struct
    {
        std::string Name;
        std::string Quoted; // how the message names it
        const char* Reason;
    } refused[] = {
        { "../x.html", "\"../x.html\"", "folder separator" },
        { "sub\\x.html", "\"sub\\x.html\"", "folder separator" },
        { "..", "\"..\"", "name folders" },
        { "a\tb.html", "\"a?b.html\"", "control character" },
        { longName, "\"" + std::string(60, 'n') + "...\"", "254 characters or longer" },
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.Name);
        settings.ini_DocFilename = c.Name;
        const PreviewPlan plan = PlanPreview(doc, settings, dir.File("program"));
        EXPECT_EQ(plan.Target, "");
        EXPECT_EQ(plan.Error.rfind("The preview's temporary file name " + c.Quoted
                          + " (Options, Ext.Preview, \"Save it in an temporary file :\")",
                      0),
            0u)
            << plan.Error;
        EXPECT_NE(plan.Error.find(c.Reason), std::string::npos) << plan.Error;
    }

    settings.ini_DocFilename = "try.it.html";
    EXPECT_EQ(PlanPreview(doc, settings, dir.File("program")).Target, dir.File("site/try.it.html"));
}

TEST(PreviewPlanTest, UseMapIsReadFromTheImgTag)
{
    Document doc;
    doc.ImgTag = R"(<IMG SRC="a.png" Width="10" Height="10" UseMap="#a.png">)";
    EXPECT_EQ(PreviewUseMap(doc), "#a.png");
    doc.ImgTag = R"(<img src="a.png" alt="usemap">)";
    EXPECT_EQ(PreviewUseMap(doc), "");
}

} // namespace
