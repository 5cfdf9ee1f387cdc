#include "convert/convert.h"

#include "core/formats/html_import.h"
#include "core/formats/html_writer.h"
#include "core/formats/map_file.h"
#include "core/formats/page_charset.h"
#include "core/formats/project_file.h"
#include "core/formats/tag_reader.h"
#include "core/formats/tag_writer.h"
#include "core/model/app_state.h"
#include "core/operations/document_ops.h"
#include "core/operations/document_save.h"
#include "core/operations/file_formats.h"
#include "core/util/charset.h"
#include "core/util/file_io.h"
#include "core/util/prompt.h"
#include "core/util/strings.h"
#include "core/util/text_codec.h"
#include "karvex/version.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <system_error>
#include <utility>

namespace karvex {

namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "karvex-convert";

constexpr const char* kUsage
    = "usage: karvex-convert INPUT OUTPUT [--map NAME] [--picture FILE] [--server ncsa|cern]\n"
      "                      [--path current|relative|direct] [--from KIND] [--to KIND]\n"
      "       karvex-convert INPUT --into PAGE [--map NAME] [--picture FILE]\n"
      "                      [--path current|relative|direct] [--from KIND]\n"
      "       karvex-convert INPUT --list [--json] [--from KIND]\n";

constexpr const char* kHelp
    = "\n"
      "Converts one image map. INPUT is an HTML page (.html, .htm), a Karvex project (.kvp) or a\n"
      "server-side map file (.map), or a file of another ending that holds one of them;\n"
      "OUTPUT's ending chooses what is written:\n"
      "  .html, .htm  a fresh HTML fragment (IMG tag and MAP block); an existing OUTPUT is\n"
      "               replaced, never merged into\n"
      "  .kvp         a Karvex project\n"
      "  .map         a server-side map file, NCSA unless the document or --server says CERN\n"
      "INPUT \"-\" reads standard input, OUTPUT \"-\" writes standard output (an HTML\n"
      "fragment unless --to says otherwise).\n"
      "\n"
      "Options:\n"
      "  --map NAME      the map of a page with several maps: its USEMAP value, with or\n"
      "                  without \"#\" (exact case first, then any case), or \"#\" and the\n"
      "                  NAME or ID of a map no picture uses\n"
      "  --picture FILE  the picture of the map, whatever the page or map file names; needed\n"
      "                  for a map no picture of the page uses\n"
      "  --from html|map|kvp\n"
      "                  read INPUT as this kind of file, whatever its ending\n"
      "  --to html|map|kvp\n"
      "                  write OUTPUT as this kind of file, whatever its ending\n"
      "  --server ncsa|cern\n"
      "                  the map-file dialect (also stored in a project)\n"
      "  --path current|relative|direct\n"
      "                  the picture reference written into the IMG tag: as it is, relative\n"
      "                  to OUTPUT's folder, or the picture's full path; a .map file always\n"
      "                  names the picture's full path in its header\n"
      "  --into PAGE     put the map into the existing page PAGE (.html, .htm) instead of\n"
      "                  writing OUTPUT, as the editor saves into a page: the page's map of\n"
      "                  the same name and the IMG tag that uses it are replaced, every\n"
      "                  other byte of the page is kept\n"
      "  --list          list INPUT's maps instead of converting; with --json as a JSON array\n"
      "                  of objects with the keys map, name, id, picture, alt, areas and\n"
      "                  browserConnects\n"
      "  --help          this text\n"
      "  --version       the version\n"
      "\n"
      "--list, and a page with several maps and no --map, print one line per map: the name for\n"
      "--map, the MAP's NAME, its ID, the picture's SRC, the number of AREAs, whether a browser\n"
      "connects the picture to the map (connected, not connected, no picture) and the\n"
      "picture's ALT text, separated by tabs. Maps that no picture uses are listed too.\n"
      "\n"
      "A picture that cannot be found is not needed: its size comes from the IMG tag's WIDTH\n"
      "and HEIGHT, or else from the hotspots' coordinates, and standard error says so. Nothing\n"
      "is asked.\n"
      "\n"
      "Exit status: 0 converted, 1 error (message on standard error), 2 several maps and no\n"
      "--map, 64 bad command line.\n"
      "\n"
      "Example, every map file of a folder to HTML:\n"
      "  for f in *.map; do karvex-convert \"$f\" \"${f%.map}.html\" || echo \"not converted: $f\" "
      ">&2; done\n";

constexpr const char* kStandardStream = "-";

struct ConvertOptions
{
    std::string Input;
    std::string Output;
    std::optional<std::string> MapName;
    std::optional<std::string> Picture;
    const FileFormat* From = nullptr;
    const FileFormat* To = nullptr;
    bool List = false;
    bool Json = false;
    std::optional<std::int32_t> ServerType;
    std::optional<PathModeKind> PathMode;
    std::optional<std::string> Into;
    bool Help = false;
    bool Version = false;
};

// A reader's message on one line: its line ends joined by blanks, empty lines dropped.
std::string OneLine(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::string line : Split(text, "\n")) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line = Trim(line);
        if (!line.empty())
            lines.push_back(line);
    }
    return Join(lines, " ");
}

// News that does not stop the conversion, on standard error.
void Notify(std::ostream& err, const std::string& message)
{
    if (!message.empty())
        err << kProgram << ": " << OneLine(message) << '\n';
}

int Fail(std::ostream& err, const std::string& message)
{
    err << kProgram << ": " << OneLine(message) << '\n';
    return kConvertFailed;
}

// Answers as a user who is not there: No to every question, no file from any dialog. Plain
// messages still carry news, so they go to standard error.
class UnattendedPrompt : public Prompt
{
public:
    explicit UnattendedPrompt(std::ostream& err)
        : m_err(err)
    {
    }

    PromptAnswer Ask(const PromptMessage& message) override
    {
        switch (message.Buttons) {
        case PromptButtons::Ok:
            m_err << kProgram << ": " << OneLine(message.Text) << '\n';
            return PromptAnswer::Ok;
        case PromptButtons::OkCancel:
            return PromptAnswer::Cancel;
        case PromptButtons::YesNo:
        case PromptButtons::YesNoCancel:
            break;
        }
        return PromptAnswer::No;
    }
    std::optional<std::string> ChooseOpenFile(const FileRequest&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const FileRequest&) override { return {}; }
    std::optional<std::int32_t> ChooseColor(std::int32_t) override { return {}; }
    std::optional<std::string> InputText(
        const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }

private:
    std::ostream& m_err;
};

// The format a --from or --to value names: html, map or kvp.
const FileFormat* FormatNamed(const std::string& kind)
{
    const std::string lower = ToLower(kind);
    if (lower != "html" && lower != "map" && lower != "kvp")
        return nullptr;
    return FormatForPath("x." + lower);
}

// Reads the arguments into options; the first usage error, if any, comes back as text.
std::optional<std::string> ParseArgs(const std::vector<std::string>& args, ConvertOptions& options)
{
    std::optional<std::string> error;
    const auto note = [&error](std::string text) {
        if (!error)
            error = std::move(text);
    };
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.Help = true;
            continue;
        }
        if (arg == "--version" || arg == "--list" || arg == "--json") {
            (arg == "--version"       ? options.Version
                    : arg == "--list" ? options.List
                                      : options.Json)
                = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        static const std::vector<std::string> kValued
            = { "--map", "--server", "--path", "--into", "--picture", "--from", "--to" };
        if (std::find(kValued.begin(), kValued.end(), name) == kValued.end()) {
            note("unknown option " + arg);
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            note(name + " needs a value");
            continue;
        }
        const std::string upper = ToUpper(value);
        if (name == "--into") {
            if (RouteForPath(value, false) != OpenRoute::Html)
                note("--into takes an HTML page (.html, .htm): " + value);
            options.Into = value;
        } else if (name == "--map") {
            if (value.empty())
                note("--map needs a name");
            options.MapName = value;
        } else if (name == "--picture") {
            if (value.empty())
                note("--picture needs a file");
            options.Picture = value;
        } else if (name == "--from" || name == "--to") {
            const FileFormat* format = FormatNamed(value);
            if (!format)
                note(std::string(name)
                         .append(" takes html, map or kvp, not '")
                         .append(value)
                         .append("'"));
            (name == "--from" ? options.From : options.To) = format;
        } else if (name == "--server") {
            if (upper == "NCSA" || upper == "CERN")
                options.ServerType = upper == "CERN" ? 1 : 0;
            else
                note("--server takes ncsa or cern, not '" + value + "'");
        } else if (upper == "CURRENT" || upper == "RELATIVE" || upper == "DIRECT") {
            options.PathMode = upper == "CURRENT" ? PathModeKind::Current
                : upper == "RELATIVE"             ? PathModeKind::Relative
                                                  : PathModeKind::Direct;
        } else {
            note("--path takes current, relative or direct, not '" + value + "'");
        }
    }
    if (options.Json && !options.List)
        note("--json goes with --list");
    if (options.List && options.Into)
        note("--list and --into do not go together");
    const std::size_t wanted = options.Into || options.List ? 1 : 2;
    if (files.size() != wanted) {
        note(files.size() < wanted
                ? (wanted == 1 ? "INPUT is needed" : "INPUT and OUTPUT are needed")
                : "too many file names");
        return error;
    }
    options.Input = files[0];
    if (options.List)
        return error;
    options.Output = options.Into ? *options.Into : files[1];
    if (!options.To && options.Output != kStandardStream && !FormatForPath(options.Output))
        note("OUTPUT must end in " + FormatEndingsText() + " (or give --to): " + options.Output);
    if (options.Into && options.Into == kStandardStream)
        note("--into needs an existing page, not standard output");
    return error;
}

std::string FullPath(const std::string& path)
{
    std::error_code ec;
    const fs::path full = fs::absolute(fs::path(path), ec);
    return ec ? path : full.lexically_normal().string();
}

// Text fit for one tab-separated line.
std::string Field(std::string text)
{
    for (char& ch : text) {
        if (ch == '\t' || ch == '\r' || ch == '\n')
            ch = ' ';
    }
    return text;
}

// One map of the input as --list shows it.
struct MapListing
{
    std::string Key; // what --map takes
    std::string Name;
    std::string Id;
    std::string Picture; // the SRC as written
    std::string Alt;
    std::size_t Areas = 0;
    bool HasPicture = true;
    bool BrowserConnects = false;
};

std::vector<MapListing> Listings(const std::vector<MapCandidate>& candidates)
{
    std::vector<MapListing> list;
    for (const MapCandidate& candidate : candidates) {
        const TagRecord img = ParseTag(candidate.ImgTag);
        list.push_back({ CandidateKey(candidate), candidate.MapName, candidate.MapId,
            GetAttribute(img, "SRC", ""), GetAttribute(img, "ALT", ""), candidate.AreaCount,
            candidate.Kind != kCandidateMapOnly, candidate.MapFound });
    }
    return list;
}

const char* ConnectionText(const MapListing& map)
{
    if (!map.HasPicture)
        return "no picture";
    return map.BrowserConnects ? "connected" : "not connected";
}

void ListMaps(const std::vector<MapListing>& maps, std::ostream& stream)
{
    for (const MapListing& map : maps) {
        stream << Field(map.Key) << '\t' << Field(map.Name) << '\t' << Field(map.Id) << '\t'
               << Field(map.Picture) << '\t' << map.Areas << '\t' << ConnectionText(map) << '\t'
               << Field(map.Alt) << '\n';
    }
}

// A JSON string of page text in the page's charset.
std::string JsonString(const std::string& bytes, const std::string& charset)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string json = "\"";
    for (const char ch : DisplayText(bytes, charset)) {
        const auto code = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            json += '\\';
            json += ch;
        } else if (code < 0x20) {
            json += "\\u00";
            json += kHex[code >> 4];
            json += kHex[code & 0xF];
        } else {
            json += ch;
        }
    }
    return json + "\"";
}

void ListMapsAsJson(
    const std::vector<MapListing>& maps, const std::string& charset, std::ostream& stream)
{
    stream << '[';
    for (std::size_t i = 0; i < maps.size(); ++i) {
        const MapListing& map = maps[i];
        stream << (i == 0 ? "\n  " : ",\n  ") << "{\"map\": " << JsonString(map.Key, charset)
               << ", \"name\": " << JsonString(map.Name, charset)
               << ", \"id\": " << JsonString(map.Id, charset) << ", \"picture\": "
               << (map.HasPicture ? JsonString(map.Picture, charset) : std::string("null"))
               << ", \"alt\": " << JsonString(map.Alt, charset) << ", \"areas\": " << map.Areas
               << ", \"browserConnects\": " << (map.BrowserConnects ? "true" : "false") << '}';
    }
    stream << (maps.empty() ? "]\n" : "\n]\n");
}

struct MapPick
{
    std::optional<std::size_t> Index;
    bool Ambiguous = false;
};

// The candidate --map names: the key as written, then the key without "#", each first in its
// own letter case and then in any. The first rule that matches decides; two different keys
// matching the same rule make the name ambiguous.
MapPick PickCandidate(const std::vector<MapCandidate>& candidates, const std::string& name)
{
    const std::string bare = RemoveAll(name, '#');
    for (const bool anyCase : { false, true }) {
        for (const bool withoutHash : { false, true }) {
            MapPick pick;
            for (std::size_t i = 0; i < candidates.size(); ++i) {
                const std::string key = CandidateKey(candidates[i]);
                const std::string a = withoutHash ? RemoveAll(key, '#') : key;
                const std::string& b = withoutHash ? bare : name;
                if (!(anyCase ? EqualsNoCase(a, b) : a == b))
                    continue;
                if (pick.Index && CandidateKey(candidates[*pick.Index]) != key)
                    pick.Ambiguous = true;
                if (!pick.Index)
                    pick.Index = i;
            }
            if (pick.Index)
                return pick;
        }
    }
    return {};
}

// The input as the converter reads it: its name (standard input stands for a file of the
// working folder), its bytes and the kind of file it is.
struct Input
{
    std::string Name;
    std::string Bytes;
    const FileFormat* Format = nullptr;
};

// Reads the page's one map, or the map --map names; a page with several maps and no name
// lists them instead. A map that the chosen picture does not have fails the conversion.
int ImportPage(const Input& input, const ConvertOptions& options, ImportContext& context,
    ImportResult& result, std::ostream& out, std::ostream& err)
{
    // A UTF-16 page is read as UTF-8, whatever its META says.
    std::optional<Utf16Page> utf16 = DecodeUtf16Page(input.Bytes);
    if (utf16)
        context.Charset = kUtf8Charset;
    std::string text = input.Bytes;
    if (utf16)
        text = std::move(utf16->Utf8);
    const std::vector<MapCandidate> candidates = FindMapCandidates(text, context.SearchWithoutMap);
    if (candidates.empty())
        return Fail(err, LoadErrorMessage(kNoImagesReason, input.Name));
    std::size_t chosen = 0;
    if (options.MapName) {
        const MapPick pick = PickCandidate(candidates, *options.MapName);
        if (!pick.Index || pick.Ambiguous) {
            Fail(err,
                std::string(
                    pick.Ambiguous ? "Several maps of the page match" : "The page has no map")
                    + " '" + *options.MapName + "'. Its maps are:");
            ListMaps(Listings(candidates), err);
            return kConvertFailed;
        }
        chosen = *pick.Index;
    } else if (candidates.size() > 1) {
        ListMaps(Listings(candidates), out);
        err << kProgram << ": The page holds " << candidates.size()
            << " maps: choose one with --map NAME.\n";
        return kConvertChooseMap;
    }
    const MapCandidate& candidate = candidates[chosen];
    const std::string key = CandidateKey(candidate);
    if (candidate.Kind == kCandidateMapOnly && context.Picture.empty())
        return Fail(err,
            "No picture of " + input.Name + " uses the map '" + key
                + "'; give its picture with --picture FILE.");
    if (candidate.Kind == kCandidateWithMap && !candidate.MapFound && !candidate.LooseMatch)
        return Fail(err,
            "The page " + input.Name + " has no map '" + key
                + "' for the picture that names it; nothing was written.");
    context.ChooseMap
        = [&key](const std::vector<MapCandidate>&) -> const std::string& { return key; };
    result = ImportHtmlText(input.Name, text, context);
    return kConvertOk;
}

// Gives the document's map another name: the USEMAP of its IMG tag and the NAME of its MAP tag.
void RenameMap(Document& doc, const std::string& name)
{
    const std::string bare = name.substr(name.find_first_not_of('#') == std::string::npos
            ? name.size()
            : name.find_first_not_of('#'));
    MapImage& image = doc.Images[1];
    image.MapName = bare;
    image.UseMap = "#" + bare;
    doc.ImgTag = SetAttributeInTag(doc.ImgTag, "USEMAP", image.UseMap, "");
    image.MapTag = SetAttributeInTag(image.MapTag, "NAME", bare, "");
}

// Saves document 1 into the existing page as the editor's save into a page does. A map read from
// another file first finds its place in the page: the map of the same name and its IMG tag.
int PutIntoPage(AppState& state, const std::string& input, const std::string& page, bool samePage,
    const std::optional<std::string>& mapName, std::ostream& err)
{
    Document& doc = state.Documents[1];
    // A project's or map file's map takes the name --map gives it, to find its place in the page.
    if (mapName && RouteForPath(input, false) != OpenRoute::Html)
        RenameMap(doc, *mapName);
    if (!samePage) {
        ReadResult file = ReadWholeFile(page);
        if (!file.Ok)
            return Fail(
                err, "The page " + page + " could not be read. Reason : " + file.Reason + ".");
        if (!FindDocumentCodeInPage(doc, PageText(std::move(file.Bytes))))
            return Fail(err,
                "The page " + page + " has no map of " + input
                    + " and no picture that uses it; nothing was written.");
    }
    doc.Title = doc.FilePath = page;
    const SaveResult saved = SaveDocumentFile(state, 1, page, false, false, PageConflict::Replace);
    if (!saved.Ok)
        return Fail(err, saved.Error);
    return kConvertOk;
}

// Reads the input's bytes and kind: a file, or standard input.
std::optional<Input> ReadInput(const ConvertOptions& options, std::istream& in, std::ostream& err)
{
    Input input;
    if (options.Input == kStandardStream) {
        input.Name = FullPath("standard-input");
        input.Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        input.Name = FullPath(options.Input);
        // The reader says why: missing, a folder, a FIFO or a device.
        ReadResult file = ReadWholeFile(input.Name);
        if (!file.Ok) {
            Fail(err,
                "The file " + options.Input + " could not be read. Reason : " + file.Reason + ".");
            return std::nullopt;
        }
        input.Bytes = std::move(file.Bytes);
    }
    // The ending tells, else what the file holds.
    input.Format = options.From ? options.From : FormatForPath(input.Name);
    if (!input.Format)
        input.Format = FormatForContent(input.Bytes);
    if (!input.Format) {
        Fail(err,
            options.Input
                + " is no HTML page, project or map file that Karvex knows; give its "
                  "kind with --from.");
        return std::nullopt;
    }
    return input;
}

// Reads a project or map file from its text.
ImportResult ReadOther(const Input& input, const ImportContext& context)
{
    if (input.Format->Route != OpenRoute::MapFile)
        return LoadProjectText(input.Name, input.Bytes, context);
    std::vector<std::string> skipped;
    ImportResult result = LoadProjectText(
        input.Name, MapFileToProjectText(input.Name, input.Bytes, &skipped), context);
    result.Warnings.insert(result.Warnings.begin(), skipped.begin(), skipped.end());
    return result;
}

// A picture that is not there gives no pixels and no size: WIDTH and HEIGHT, or else the
// hotspots' extent, stand in for it, and the IMG tag gets them so that the map lays out.
// False when nothing gives a size.
bool SizeWithoutPicture(Document& doc, const std::string& inputName, std::ostream& err)
{
    MapImage& image = doc.Images[1];
    if (FileExists(image.Src))
        return true;
    const std::string picture
        = image.Src.empty() ? std::string("No picture is named") : image.Src + " was not found";
    if (image.Width > 0 && image.Height > 0) {
        err << kProgram << ": " << inputName << ": " << picture
            << "; its size comes from the IMG tag's WIDTH and HEIGHT.\n";
        return true;
    }
    std::int32_t width = 0;
    std::int32_t height = 0;
    for (const Hotspot& spot : doc.Hotspots) {
        if (spot.Active) {
            width = std::max(width, spot.X2);
            height = std::max(height, spot.Y2);
        }
    }
    if (image.Width < 1)
        image.Width = width;
    if (image.Height < 1)
        image.Height = height;
    if (image.Width < 1 || image.Height < 1)
        return false;
    doc.ImgTag = SetAttributesInTag(doc.ImgTag,
        std::vector<AttributePair> {
            { "WIDTH", std::to_string(image.Width) }, { "HEIGHT", std::to_string(image.Height) } });
    err << kProgram << ": " << inputName << ": " << picture << "; its size " << image.Width << " x "
        << image.Height << " comes from the hotspots' coordinates.\n";
    return true;
}

// Prints the input's maps: a page's every map, a project's or map file's one.
int List(const Input& input, const ConvertOptions& options, ImportContext& context,
    std::ostream& out, std::ostream& err)
{
    std::vector<MapListing> maps;
    std::string charset;
    if (input.Format->Route == OpenRoute::Html) {
        const std::string text = PageText(input.Bytes);
        charset = TextCharset(text);
        maps = Listings(FindMapCandidates(text, false));
    } else {
        const ImportResult result = ReadOther(input, context);
        if (!result.Ok)
            return Fail(err, result.Message);
        const Document& doc = result.Doc;
        charset = doc.Charset;
        const MapImage& image = doc.Images[1];
        const std::size_t areas = static_cast<std::size_t>(std::count_if(doc.Hotspots.begin(),
            doc.Hotspots.end(), [](const Hotspot& spot) { return spot.Active; }));
        maps.push_back({ "#" + image.MapName, image.MapName, {},
            GetAttribute(ParseTag(doc.ImgTag), "SRC", ""), image.AltText, areas, true, true });
    }
    if (options.Json)
        ListMapsAsJson(maps, charset, out);
    else
        ListMaps(maps, out);
    return kConvertOk;
}

int Convert(const ConvertOptions& options, std::istream& in, std::ostream& out, std::ostream& err)
{
    // Full paths keep relative references right whatever folder the script runs in.
    const bool toStream = options.Output == kStandardStream;
    const std::string output = toStream ? FullPath("standard-output") : FullPath(options.Output);
    std::error_code ec;
    const bool samePage = options.Input != kStandardStream && !toStream
        && fs::equivalent(FullPath(options.Input), output, ec);
    if (options.Into && !FileExists(output))
        return Fail(err,
            "The page " + options.Output
                + " could not be found; --into puts the map into an existing page.");
    const FileFormat* target = options.To ? options.To : FormatForPath(toStream ? ".html" : output);
    if (!options.List && !options.Into && samePage && target->MergesIntoPage)
        return Fail(err,
            "OUTPUT is the INPUT page; a fresh fragment would replace the whole page "
            "(write it to another file).");

    const std::optional<Input> input = ReadInput(options, in, err);
    if (!input)
        return kConvertFailed;
    UnattendedPrompt prompt(err);
    ImportContext context;
    context.Ask = &prompt;
    context.KeepMissingPicture = true;
    if (options.Picture) {
        context.Picture = FullPath(*options.Picture);
        if (!FileExists(context.Picture))
            return Fail(err, "The picture " + *options.Picture + " could not be found.");
    }
    if (options.List)
        return List(*input, options, context, out, err);

    ImportResult result;
    // Pages may hold several maps: the choice is made here; every other kind has its reader.
    if (input->Format->Route == OpenRoute::Html) {
        if (const int status = ImportPage(*input, options, context, result, out, err);
            status != kConvertOk)
            return status;
    } else {
        result = ReadOther(*input, context);
    }
    if (!result.Ok)
        return Fail(err, result.Message);
    for (const std::string& warning : result.Warnings)
        err << kProgram << ": " << options.Input << ": " << OneLine(warning) << '\n';

    AppState state;
    state.Documents.push_back(std::move(result.Doc));
    state.CurrentDocument = 1;
    Document& doc = state.Documents[1];
    if (!SizeWithoutPicture(doc, options.Input, err))
        return Fail(err,
            "The picture of " + options.Input
                + " was not found, and neither the IMG tag nor the hotspots give its size; give "
                  "it with --picture FILE.");
    if (options.ServerType)
        doc.ServerType = *options.ServerType;
    if (options.PathMode)
        doc.PathMode = *options.PathMode;
    if (options.Into)
        return PutIntoPage(state, input->Name, output, samePage, options.MapName, err);
    if (toStream || options.To) {
        ApplyPicturePathMode(doc, output, doc.PathMode);
        const std::string text = target->Compose(doc);
        if (target->Route == OpenRoute::MapFile)
            Notify(err, MapFileNotice(doc));
        if (toStream) {
            out << text;
            return out ? kConvertOk : Fail(err, "Standard output could not be written.");
        }
        const WriteResult written = WriteWholeFile(output, text);
        return written
            ? kConvertOk
            : Fail(err, "The file " + output + " could not be written. Reason : " + written.Reason);
    }
    const SaveResult saved = SaveDocumentFile(state, 1, output, true, false);
    if (!saved.Ok)
        return Fail(err, saved.Error);
    Notify(err, saved.Notice);
    return kConvertOk;
}

} // namespace

int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::istringstream none;
    return RunConvert(args, none, out, err);
}

int RunConvert(
    const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    ConvertOptions options;
    const std::optional<std::string> error = ParseArgs(args, options);
    if (options.Help) {
        out << kUsage << kHelp;
        return kConvertOk;
    }
    if (options.Version) {
        out << kProgram << ' ' << kVersion << '\n';
        return kConvertOk;
    }
    if (error) {
        err << kProgram << ": " << *error << '\n'
            << kUsage << "Try 'karvex-convert --help' for more information.\n";
        return kConvertUsage;
    }
    try {
        return Convert(options, in, out, err);
    } catch (const std::exception& e) {
        return Fail(err, e.what());
    }
}

} // namespace karvex
