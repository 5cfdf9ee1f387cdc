// The fuzz corpus's seeds through the readers and the converter, and file-system traps through
// the converter: each input gets what a browser (for map files, a web server) makes of it, and
// no run touches a file but the one it writes.

#include "convert/convert.h"
#include "core/formats/html_import.h"
#include "core/formats/map_file.h"
#include "core/formats/project_file.h"
#include "core/formats/tag_reader.h"
#include "core/model/records.h"
#include "core/util/charset.h"
#include "core/util/file_io.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace karvex {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = KARVEX_TEST_DATA "/../fuzz/corpus";
constexpr int kRefused = -1;

// What opening one seed gives. Areas lists each hotspot as its SHAPE keyword, COORDS and HREF,
// "; " between hotspots.
struct Seed
{
    const char* File;
    int Hotspots; // kRefused: the reader refuses the file with the load error
    const char* Areas = nullptr; // null: not compared
    void (*Check)(const Document&) = nullptr; // a further property that matters for this seed
    // The editor asks for the picture of a map no picture uses (and is given pic.gif), and the
    // converter needs --picture for it.
    bool AsksForPicture = false;
    // The converter refuses the seed: its picture has no map to convert.
    bool NothingToConvert = false;
};

const Seed kSeeds[] = {
    // Browsers take "rectangle" and "circ" as shapes, and any unknown word as a rectangle.
    { "area_shape_keywords.html", 4,
        "RECT 1,2,15,14 a.html; CIRCLE 24,8,6 b.html; POLY 1,1,8,1,4,6 c.html; RECT 2,2,9,9 "
        "d.html" },
    // "<!--" never closed runs to the end of the page, its "</map>" and second AREA included:
    // the map is never closed and a save replaces its one AREA.
    { "comment_unclosed.html", 1, "RECT 1,1,4,4 a.html" },
    { "img_onclick_single_quotes.html", 1, "RECT 1,1,4,4 a.html",
        [](const Document& doc) {
            EXPECT_EQ(doc.ImgTag, "<img src=\"pic.gif\" usemap=\"#m\" onclick='show(\"big\")'>");
            EXPECT_NE(doc.Hotspots[1].AreaTag.find("onclick='go(\"x>y\")'>"), std::string::npos);
        } },
    // srcset and data-src are not SRC, nor is "SRC" in the ALT text.
    { "img_srcset_datasrc_alt_src.html", 1, "RECT 1,1,4,4 a.html",
        [](const Document& doc) { EXPECT_EQ(fs::path(doc.Images[1].Src).filename(), "pic.gif"); } },
    // The ALT quote is never closed, so a browser drops the IMG tag: the map has no picture.
    { "img_unclosed_quote.html", 1, "RECT 1,1,4,4 a.html", nullptr, true },
    { "map_comment_holding_gt.html", 1, "RECT 2,2,9,9 a.html" },
    { "map_comment_over_lines.html", 1, "CIRCLE 9,9,3 new.html" },
    { "map_end_stray.html", 1, "RECT 1,1,4,4 a.html" },
    // A server's link is one word: it ends at a blank or a CR (one line, one hotspot). After an
    // NCSA link the coordinates come next: a word that is none ends them, so the server reads
    // no area from the line; a CERN link ends the line.
    { "map_file_link_with_blank.map", 1, "CIRCLE 8,8,4 my" },
    { "map_file_link_with_cr.map", 1, "POLY 1,1,8,1,4,6 c.html" },
    // Old Macintosh line ends, CERN's short words, runs of blanks and tabs, blanks inside the
    // brackets: read as CERN, and saved back that way.
    { "map_file_mac_line_ends.map", 4,
        "RECT 1,2,15,14 a.html; CIRCLE 24,8,6 b.html; POLY 1,1,8,1,4,6 c.html; RECT 0,0,32,16 "
        "d.html",
        [](const Document& doc) { EXPECT_EQ(doc.ServerType, 1); } },
    // Menu text before and after the coordinates, comments, base, special links and a point;
    // the lines of an unknown shape and a broken number make nothing.
    { "map_file_wild_ncsa.map", 5,
        "RECT 1,2,15,14 up.html; CIRCLE 24,8,6 round.html; POLY 1,1,8,1,4,6 ..; CIRCLE 20,12,3 "
        "nocontent; RECT 0,0,32,16 error",
        [](const Document& doc) { EXPECT_EQ(doc.ServerType, 0); } },
    // The markup in the quoted TITLE is no tag: one map, one picture.
    // A map never closed owns the AREAs up to the next map, not those of the next map.
    { "map_unclosed_before_another.html", 1, "RECT 1,1,4,4 a.html" },
    { "map_tag_quoted_markup.html", 1, "RECT 1,1,4,4 a.html",
        [](const Document& doc) {
            EXPECT_EQ(
                doc.Images[1].MapTag, "<map title=\"x><img src=x onerror=alert(1)>\" name=\"m\">");
        } },
    // Boxes stay within 1,000,000 either way, sizes within 65535; a browser ignores a negative
    // HEIGHT, so the picture's own height holds.
    { "numbers_out_of_range.html", 3, nullptr,
        [](const Document& doc) {
            for (const Hotspot& spot : doc.Hotspots) {
                for (const std::int32_t value : { spot.X1, spot.Y1, spot.X2, spot.Y2 })
                    EXPECT_LE(std::abs(value), 1'000'000) << spot.AreaTag;
            }
            EXPECT_EQ(doc.Images[1].Width, 65535);
            EXPECT_EQ(doc.Images[1].Height, 16);
        } },
    // The charset comes from the first META outside comments whose label is known.
    { "page_meta_charset_euc_kr.html", 1, "RECT 1,2,15,14 a.html",
        [](const Document& doc) {
            EXPECT_EQ(doc.Charset, "EUC-KR");
            EXPECT_EQ(DisplayText(
                          GetAttribute(ParseTag(doc.Hotspots[1].AreaTag), "ALT", ""), doc.Charset),
                "\xEC\x84\x9C\xEC\x9A\xB8");
        } },
    { "page_utf16le_bom.html", 1, "RECT 1,2,15,14 caf\xC3\xA9.html" },
    // Each line ends its tag: the hotspot is Roof, its tag closed. The second AREA has no SHAPE
    // keyword and no COORDS: a browser keeps it without a region, the editor shows it over the
    // whole picture so that it can be edited (its tag stays as it was).
    { "project_broken_line.kvp", 2, "RECT 1,2,15,14 a.html; RECT 0,0,32,16 ",
        [](const Document& doc) {
            EXPECT_EQ(doc.Hotspots[1].Name, "Roof");
            EXPECT_EQ(doc.Hotspots[1].AreaTag.back(), '>') << doc.Hotspots[1].AreaTag;
        } },
    { "valid_area_tag.html", kRefused }, // an AREA without a picture
    // CERN's shape words are rectangle, circle and polygon (or rect, circ, poly); its link is
    // the one word after the coordinates.
    { "valid_cern.map", 4,
        "RECT 1,2,15,14 a.html; CIRCLE 24,8,6 b.html; POLY 1,1,8,1,4,6 c.html; "
        "POLY 1,1,8,1,4,6 /shapes/circle" },
    // A picture whose map the page lacks opens without hotspots.
    { "valid_img_tag.html", 0, "", nullptr, false, true },
    // A default line is the server's fallback link, not a region.
    { "valid_ncsa.map", 4,
        "RECT 1,2,15,14 a.html; CIRCLE 24,8,6 b.html; POLY 1,1,8,1,4,6 c.html; "
        "RECT 0,0,32,16 d.html" },
    { "valid_page_two_maps.html", 1, "RECT 0,0,9,9 x.html" }, // the first map, without a chooser
    { "valid_page_with_map.html", 4,
        "RECT 1,2,15,14 a.html; CIRCLE 24,8,6 b.html; POLY 1,1,8,1,4,6 c.html; "
        "RECT 0,0,32,16 d.html" },
    { "valid_project.kvp", 2, "RECT 1,2,15,14 a.html; CIRCLE 24,8,6 b.html" },
};

void PrintTo(const Seed& seed, std::ostream* out) { *out << seed.File; }

std::string Areas(const Document& doc)
{
    std::string text;
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        text += (slot > 1 ? "; " : "") + ShapeKeyword(spot.Shape) + " " + spot.Coords + " "
            + GetAttribute(ParseTag(spot.AreaTag), "HREF", "");
    }
    return text;
}

bool IsPage(const std::string& path)
{
    return fs::path(path).extension().string().starts_with(".htm");
}

// A folder holding one seed beside the 32x16 picture the seeds name.
struct SeedFolder
{
    test::TempDir Dir;
    std::string Input;

    explicit SeedFolder(const std::string& name)
        : Input(Dir.File(name))
    {
        WriteWholeFile(
            Dir.File("pic.gif"), std::string("GIF89a\x20\0\x10\0", 10) + std::string(20, '\0'));
        fs::copy_file(kCorpus / name, Input);
    }
};

// Opens a file with the reader its ending selects; the picture is never missing, so nothing
// may be asked unless the seed's map has no picture: then pic.gif is given.
ImportResult Open(const std::string& path, bool asksForPicture = false)
{
    test::ScriptedPrompt prompt;
    prompt.Answers.push_back(asksForPicture ? PromptAnswer::Yes : PromptAnswer::No);
    const std::string picture = (fs::path(path).parent_path() / "pic.gif").string();
    prompt.Files.push_back(picture);
    ImportContext context;
    context.Ask = &prompt;
    const fs::path ending = fs::path(path).extension();
    ImportResult result = ending == ".kvp" ? LoadProjectFile(path, context)
        : ending == ".map"                 ? ImportMapFile(path, context)
                                           : ImportHtmlFile(path, context);
    if (asksForPicture) {
        EXPECT_EQ(prompt.Messages.size(), 1u);
        EXPECT_EQ(result.Doc.Images[1].Src, picture);
    } else {
        for (const PromptMessage& message : prompt.Messages)
            ADD_FAILURE() << "asked: " << message.Text;
    }
    return result;
}

// Every file and folder under a folder (links not followed): type and mode, and bytes.
using Snapshot = std::map<std::string, std::pair<mode_t, std::string>>;

Snapshot Take(const fs::path& folder)
{
    Snapshot files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info = {};
        EXPECT_EQ(::lstat(entry.path().c_str(), &info), 0) << entry.path();
        files[fs::relative(entry.path(), folder).string()]
            = { info.st_mode, ReadWholeFile(entry.path().string()).Bytes };
    }
    return files;
}

// The names of the files added, removed or changed in bytes, type or mode, but except.
std::string Changes(Snapshot before, Snapshot after, const std::string& except = {})
{
    before.erase(except);
    after.erase(except);
    std::string changed;
    for (const auto& [name, file] : after)
        changed += before.count(name) && before[name] == file ? "" : name + " ";
    for (const auto& [name, file] : before)
        changed += after.count(name) ? "" : name + " (removed) ";
    return changed;
}

struct ConvertRun
{
    int Status = 0;
    std::string Err;
};

ConvertRun Convert(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunConvert(args, out, err);
    return { status, err.str() };
}

// A refusal is one line on standard error that starts with the program's name, names the file
// and holds the reason.
void ExpectRefusal(const ConvertRun& run, const std::string& file, const std::string& reason = {})
{
    EXPECT_EQ(run.Status, kConvertFailed) << run.Err;
    EXPECT_EQ(run.Err.rfind("karvex-convert: ", 0), 0u) << run.Err;
    EXPECT_EQ(run.Err.find('\n'), run.Err.size() - 1) << run.Err;
    EXPECT_NE(run.Err.find(file), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find(reason), std::string::npos) << run.Err;
}

std::string SeedName(const ::testing::TestParamInfo<Seed>& info)
{
    std::string name = info.param.File;
    std::replace_if(
        name.begin(), name.end(), [](unsigned char ch) { return !std::isalnum(ch); }, '_');
    return name;
}

class HostileSeed : public ::testing::TestWithParam<Seed>
{
};
INSTANTIATE_TEST_SUITE_P(Hostile, HostileSeed, ::testing::ValuesIn(kSeeds), SeedName);

TEST(HostileCorpus, EverySeedHasARow)
{
    for (const auto& entry : fs::directory_iterator(kCorpus)) {
        const std::string name = entry.path().filename().string();
        const auto named = [&name](const Seed& seed) { return name == seed.File; };
        EXPECT_TRUE(name == "README.md" || name.front() == '.'
            || std::any_of(std::begin(kSeeds), std::end(kSeeds), named))
            << "tests/fuzz/corpus/" << name
            << " has no row in kSeeds: decide what opening it must give";
    }
}

TEST_P(HostileSeed, ReaderOpensOrRefusesItAsABrowserWould)
{
    const Seed& seed = GetParam();
    const SeedFolder folder(seed.File);
    const ImportResult result = Open(folder.Input, seed.AsksForPicture);
    if (seed.Hotspots == kRefused) {
        EXPECT_FALSE(result.Ok) << seed.File << " opened: " << Areas(result.Doc);
        const std::string start = kLoadErrorMessage + std::string("\r\n\r\nFile : ") + folder.Input;
        EXPECT_EQ(result.Message.rfind(start, 0), 0u) << result.Message;
        return;
    }
    ASSERT_TRUE(result.Ok) << seed.File << ": " << result.Message;
    EXPECT_EQ(static_cast<int>(result.Doc.Hotspots.size()) - 1, seed.Hotspots)
        << seed.File << ": " << Areas(result.Doc);
    if (seed.Areas) {
        EXPECT_EQ(Areas(result.Doc), seed.Areas) << seed.File;
    }
    if (seed.Check) {
        SCOPED_TRACE(seed.File);
        seed.Check(result.Doc);
    }
}

// Each output kind in the seed's folder, and a page into itself: written when the reader opens
// the seed (the page byte for byte), refused when it refuses it, and in either case no other
// file touched and no temporary file left.
TEST_P(HostileSeed, ConverterWritesOnlyItsOutput)
{
    const Seed& seed = GetParam();
    const SeedFolder folder(seed.File);
    const ImportResult opened = Open(folder.Input, seed.AsksForPicture);
    const bool page = IsPage(folder.Input);
    std::vector<std::vector<std::string>> runs;
    for (const char* output : { "out.html", "out.kvp", "out.map" })
        runs.push_back({ folder.Input, folder.Dir.File(output) });
    if (page)
        runs.push_back({ folder.Input, "--into", folder.Input });
    for (std::vector<std::string>& args : runs) {
        // A page with several maps converts the one the reader took.
        if (page && opened.Ok)
            args.insert(args.end(), { "--map", opened.Doc.Images[1].UseMap });
        if (seed.AsksForPicture)
            args.insert(args.end(), { "--picture", folder.Dir.File("pic.gif") });
        const bool into = args[1] == "--into";
        const Snapshot before = Take(folder.Dir.Path());
        const ConvertRun run = Convert(args);
        SCOPED_TRACE(::testing::PrintToString(args) + " " + run.Err);
        if (seed.Hotspots == kRefused || seed.NothingToConvert
            || (into && run.Status != kConvertOk))
            ExpectRefusal(run, folder.Input);
        else
            EXPECT_EQ(run.Status, kConvertOk);
        const bool wrote = run.Status == kConvertOk && !into;
        EXPECT_EQ(Changes(before, Take(folder.Dir.Path()),
                      wrote ? fs::path(args[1]).filename().string() : ""),
            "");
    }
}

// Outputs through a link, private, read-only, in a read-only folder and a folder, through the
// converter, which writes with the editor's own writer. Read-only is the mode's write bits, even
// for root.
TEST(HostileFileSystem, OutputTrapsAreWrittenThroughOrRefusedWithTheReason)
{
    const SeedFolder folder("valid_page_with_map.html");
    const test::TempDir& dir = folder.Dir;
    const auto convert = [&](const std::string& output) {
        return Convert({ folder.Input, output });
    };

    WriteWholeFile(dir.File("real.map"), "old");
    fs::create_symlink("real.map", dir.File("link.map"));
    ASSERT_EQ(convert(dir.File("link.map")).Status, kConvertOk);
    EXPECT_EQ(fs::read_symlink(dir.File("link.map")), "real.map");
    EXPECT_NE(
        ReadWholeFile(dir.File("real.map")).Bytes.find("rect a.html 1,2 15,14"), std::string::npos);

    WriteWholeFile(dir.File("private.kvp"), "old");
    fs::permissions(dir.File("private.kvp"), fs::perms(0600));
    ASSERT_EQ(convert(dir.File("private.kvp")).Status, kConvertOk);
    EXPECT_EQ(fs::status(dir.File("private.kvp")).permissions(), fs::perms(0600));
    EXPECT_NE(ReadWholeFile(dir.File("private.kvp")).Bytes, "old");

    WriteWholeFile(dir.File("locked.html"), "old");
    fs::permissions(dir.File("locked.html"), fs::perms(0444));
    fs::create_directory(dir.File("shut"));
    WriteWholeFile(dir.File("shut/kept.map"), "old");
    fs::permissions(dir.File("shut"), fs::perms(0555));
    fs::create_directory(dir.File("folder.html"));
    const std::pair<std::string, std::string> refused[] = {
        { dir.File("locked.html"), "The file is read-only" },
        { dir.File("shut/kept.map"), "The folder " + dir.File("shut") + " is read-only" },
        { dir.File("shut/new.kvp"), "The folder " + dir.File("shut") + " is read-only" },
        { dir.File("folder.html"), "Is a directory" },
    };
    for (const auto& [output, reason] : refused) {
        SCOPED_TRACE(output);
        const Snapshot before = Take(dir.Path());
        ExpectRefusal(convert(output), output, reason);
        EXPECT_EQ(Changes(before, Take(dir.Path())), "");
    }
    fs::permissions(dir.File("shut"), fs::perms(0755));
}

// A FIFO would block a plain open until a writer comes, and a sparse file past the limit must
// be refused before anything is allocated: both return at once, whatever reader the ending
// picks. The alarm ends the test program should either hang.
TEST(HostileFileSystem, FifoAndHugeInputsAreRefusedAtOnce)
{
    const test::TempDir dir;
    struct Alarm
    {
        Alarm() { ::alarm(60); }
        ~Alarm() { ::alarm(0); }
    } alarm;
    for (const char* ending : { ".html", ".kvp", ".map" }) {
        SCOPED_TRACE(ending);
        const std::string fifo = dir.File(std::string("pipe") + ending);
        const std::string huge = dir.File(std::string("huge") + ending);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
        WriteWholeFile(huge, "");
        fs::resize_file(huge, kMaxFileBytes + 1);
        const Snapshot before = Take(dir.Path());
        ExpectRefusal(Convert({ fifo, dir.File("out.map") }), fifo, "Not a regular file");
        ExpectRefusal(Convert({ huge, dir.File("out.map") }), huge, "larger than 1 GiB");
        EXPECT_EQ(Changes(before, Take(dir.Path())), "");
    }
}

} // namespace
} // namespace karvex
