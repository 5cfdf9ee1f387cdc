#include "core/settings/recent_files.h"
#include "core/settings/settings.h"
#include "core/util/file_io.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace karvex {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentFilesTest, AddKeepsOneEntryPerPathNewestFirstAndAtMostTwenty)
{
    test::TempDir dir;
    const std::string ini = SettingsPathFor(dir.Path().string());
    ASSERT_TRUE(WriteDefaultSettings(ini));

    AddRecentFile(ini, "/maps/a.html");
    AddRecentFile(ini, "/maps/b.kvp");
    // The same file again, also in another letter case, moves to the top.
    EXPECT_EQ(AddRecentFile(ini, "/maps/A.html"), (Paths { "/maps/A.html", "/maps/b.kvp" }));
    EXPECT_EQ(LoadRecentFiles(ini), (Paths { "/maps/A.html", "/maps/b.kvp" }));

    for (int i = 1; i <= 21; ++i)
        AddRecentFile(ini, "/maps/" + std::to_string(i) + ".html");
    const Paths list = LoadRecentFiles(ini);
    ASSERT_EQ(list.size(), kRecentFilesKept);
    EXPECT_EQ(list.front(), "/maps/21.html");
    EXPECT_EQ(list.back(), "/maps/2.html");

    EXPECT_EQ(RemoveRecentFile(ini, "/MAPS/21.HTML").front(), "/maps/20.html");
    EXPECT_EQ(LoadRecentFiles(ini).size(), kRecentFilesKept - 1);

    // Every other setting is where it was, and still read.
    GlobalSettings settings;
    LoadAllSettings(ini, settings);
    EXPECT_EQ(settings.ini_Ruler, 14737632);
    EXPECT_EQ(settings.ini_DocFilename, "kvxtmpdoc.html");
}

TEST(RecentFilesTest, SectionIsReplacedInPlaceAndOtherLinesKept)
{
    const std::string text = "; mine\r\n[Recentfiles]\r\nRecentfile1=/old.html\r\n\r\n"
                             "[General]\r\nini_ErrorLog=0\n[Extra]\r\nkey=[Recentfiles]\r\n";
    EXPECT_EQ(ReplaceRecentFilesSection(text, { "/new.html", "/old.html" }),
        "; mine\r\n[Recentfiles]\r\nRecentfile1=/new.html\r\nRecentfile2=/old.html\r\n\r\n"
        "[General]\r\nini_ErrorLog=0\n[Extra]\r\nkey=[Recentfiles]\r\n");

    // Without the section the file is kept whole and the section added after it.
    EXPECT_EQ(ReplaceRecentFilesSection("[General]\r\nini_ErrorLog=0", { "/a.map" }),
        "[General]\r\nini_ErrorLog=0\r\n[Recentfiles]\r\nRecentfile1=/a.map\r\n");
    EXPECT_EQ(ReplaceRecentFilesSection("", {}), "[Recentfiles]\r\n");
}

TEST(RecentFilesTest, BrokenSectionsGiveTheSensibleEntries)
{
    test::TempDir dir;
    const std::string folder = dir.Path().string();
    const std::string ini = dir.File("kvx.ini");
    const std::string overlong = "/" + std::string(kRecentFileMaxLength, 'x');
    ASSERT_TRUE(WriteWholeFile(ini,
        "[recentFILES]\nRecentfile1=\nRecentfile2=/a.html\nrecentfile3=/A.HTML\nnoise\n"
        "Recentfile4=[RECENTFILES]\nRecentfile5="
            + overlong + "\nRecentfile6=" + folder + "\nRecentfile7=/b\tc.html\n"
            + "Recentfile8=/gone.kvp\nRecentfile9 =/b.map\n[General]\nRecentfile10=/no.html\n"));
    EXPECT_EQ(LoadRecentFiles(ini), (Paths { "/a.html", "/gone.kvp", "/b.map" }));

    // An empty line ends the section; a file without one has no entries.
    EXPECT_EQ(ParseRecentFiles("[Recentfiles]\r\nRecentfile1=/a\r\n\r\nRecentfile2=/b\r\n"),
        Paths { "/a" });
    EXPECT_TRUE(ParseRecentFiles("[General]\r\nRecentfile1=/a\r\n").empty());
    EXPECT_TRUE(LoadRecentFiles(dir.File("missing.ini")).empty());

    // Adding writes the cleaned list back.
    AddRecentFile(ini, "/c.htm");
    EXPECT_EQ(
        ParseRecentFiles(ApiReadFile(ini)), (Paths { "/c.htm", "/a.html", "/gone.kvp", "/b.map" }));
    EXPECT_NE(ApiReadFile(ini).find("[General]\nRecentfile10=/no.html\n"), std::string::npos);
}

} // namespace
} // namespace karvex
