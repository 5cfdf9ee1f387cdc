#include "convert/convert.h"

#include "core/formats/html_import.h"
#include "core/formats/html_writer.h"
#include "core/formats/map_file.h"
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

#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <system_error>
#include <utility>

namespace karvex {

namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "karvex-convert";

constexpr const char* kUsage
    = "usage: karvex-convert INPUT OUTPUT [--map NAME] [--server ncsa|cern]\n"
      "                      [--path current|relative|direct]\n"
      "       karvex-convert INPUT --into PAGE [--map NAME] [--path current|relative|direct]\n";

constexpr const char* kHelp
    = "\n"
      "Converts one image map. INPUT is an HTML page (.html, .htm), a Karvex project (.kvp) or a\n"
      "server-side map file (.map); OUTPUT's ending chooses what is written:\n"
      "  .html, .htm  a fresh HTML fragment (IMG tag and MAP block); an existing OUTPUT is\n"
      "               replaced, never merged into\n"
      "  .kvp         a Karvex project\n"
      "  .map         a server-side map file, NCSA unless the document or --server says CERN\n"
      "\n"
      "Options:\n"
      "  --map NAME      the map of a page with several maps: its USEMAP value, with or\n"
      "                  without \"#\" (exact case first, then any case)\n"
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
      "  --help          this text\n"
      "  --version       the version\n"
      "\n"
      "A page with several maps and no --map lists them on standard output, one per line:\n"
      "the name for --map, a tab, the picture's SRC, and a tab and its ALT text when it has one.\n"
      "A picture that cannot be found fails the conversion; nothing is asked.\n"
      "\n"
      "Exit status: 0 converted, 1 error (message on standard error), 2 several maps and no\n"
      "--map, 64 bad command line.\n"
      "\n"
      "Example, every map file of a folder to HTML:\n"
      "  for f in *.map; do karvex-convert \"$f\" \"${f%.map}.html\" || echo \"not converted: $f\" "
      ">&2; done\n";

struct ConvertOptions
{
    std::string Input;
    std::string Output;
    std::optional<std::string> MapName;
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
        if (arg == "--version") {
            options.Version = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (name != "--map" && name != "--server" && name != "--path" && name != "--into") {
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
    const std::size_t wanted = options.Into ? 1 : 2;
    if (files.size() != wanted) {
        note(files.size() < wanted
                ? (options.Into ? "INPUT is needed" : "INPUT and OUTPUT are needed")
                : "too many file names");
        return error;
    }
    options.Input = files[0];
    options.Output = options.Into ? *options.Into : files[1];
    if (!FormatForPath(options.Input))
        note("INPUT must end in " + FormatEndingsText() + ": " + options.Input);
    if (!FormatForPath(options.Output))
        note("OUTPUT must end in " + FormatEndingsText() + ": " + options.Output);
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

void ListCandidates(const std::vector<MapCandidate>& candidates, std::ostream& stream)
{
    for (const MapCandidate& candidate : candidates) {
        const TagRecord img = ParseTag(candidate.ImgTag);
        const std::string alt = GetAttribute(img, "ALT", "");
        stream << Field(CandidateKey(candidate)) << '\t' << Field(GetAttribute(img, "SRC", ""));
        if (!alt.empty())
            stream << '\t' << Field(alt);
        stream << '\n';
    }
}

struct MapPick
{
    std::optional<std::string> Key;
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
            for (const MapCandidate& candidate : candidates) {
                const std::string key = CandidateKey(candidate);
                const std::string a = withoutHash ? RemoveAll(key, '#') : key;
                const std::string& b = withoutHash ? bare : name;
                if (!(anyCase ? EqualsNoCase(a, b) : a == b))
                    continue;
                if (pick.Key && *pick.Key != key)
                    pick.Ambiguous = true;
                if (!pick.Key)
                    pick.Key = key;
            }
            if (pick.Key)
                return pick;
        }
    }
    return {};
}

// Reads the page's one map, or the map --map names; a page with several maps and no name
// lists them instead.
int ImportPage(const std::string& input, const ConvertOptions& options, ImportContext& context,
    ImportResult& result, std::ostream& out, std::ostream& err)
{
    ReadResult file = ReadWholeFile(input);
    if (!file.Ok)
        return Fail(err, LoadErrorMessage("Reason : " + file.Reason + ".", input));
    // A UTF-16 page is read as UTF-8, whatever its META says.
    std::optional<Utf16Page> utf16 = DecodeUtf16Page(file.Bytes);
    if (utf16)
        context.Charset = kUtf8Charset;
    const std::string text = utf16 ? std::move(utf16->Utf8) : std::move(file.Bytes);
    const std::vector<MapCandidate> candidates = FindMapCandidates(text, context.SearchWithoutMap);
    if (!candidates.empty() && options.MapName) {
        const MapPick pick = PickCandidate(candidates, *options.MapName);
        if (!pick.Key || pick.Ambiguous) {
            Fail(err,
                std::string(
                    pick.Ambiguous ? "Several maps of the page match" : "The page has no map")
                    + " '" + *options.MapName + "'. Its maps are:");
            ListCandidates(candidates, err);
            return kConvertFailed;
        }
        context.ChooseMap = [key = *pick.Key](const std::vector<MapCandidate>&) { return key; };
    } else if (candidates.size() > 1) {
        ListCandidates(candidates, out);
        err << kProgram << ": The page holds " << candidates.size()
            << " maps: choose one with --map NAME.\n";
        return kConvertChooseMap;
    }
    result = ImportHtmlText(input, text, context);
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

int Convert(const ConvertOptions& options, std::ostream& out, std::ostream& err)
{
    // Full paths keep relative references right whatever folder the script runs in.
    const std::string input = FullPath(options.Input);
    const std::string output = FullPath(options.Output);
    if (!FileExists(input)) {
        // The reader says why: missing, a folder, a FIFO or a device.
        return Fail(err,
            "The file " + options.Input
                + " could not be read. Reason : " + ReadWholeFile(input, 0).Reason + ".");
    }
    std::error_code ec;
    const bool samePage = fs::equivalent(input, output, ec);
    if (options.Into && !FileExists(output))
        return Fail(err,
            "The page " + options.Output
                + " could not be found; --into puts the map into an existing page.");
    if (!options.Into && samePage && FormatForPath(output)->MergesIntoPage)
        return Fail(err,
            "OUTPUT is the INPUT page; a fresh fragment would replace the whole page "
            "(write it to another file).");

    UnattendedPrompt prompt(err);
    ImportContext context;
    context.Ask = &prompt;
    ImportResult result;
    // Pages may hold several maps: the choice is made here; every other kind has its reader.
    if (RouteForPath(input, false) == OpenRoute::Html) {
        if (const int status = ImportPage(input, options, context, result, out, err);
            status != kConvertOk)
            return status;
    } else {
        result = FormatForPath(input)->Read(input, context);
    }
    if (!result.Ok)
        return Fail(err, result.Message);
    for (const std::string& warning : result.Warnings)
        err << kProgram << ": " << options.Input << ": " << OneLine(warning) << '\n';

    AppState state;
    state.Documents.push_back(std::move(result.Doc));
    state.CurrentDocument = 1;
    Document& doc = state.Documents[1];
    if (options.ServerType)
        doc.ServerType = *options.ServerType;
    if (options.PathMode)
        doc.PathMode = *options.PathMode;
    if (options.Into)
        return PutIntoPage(state, input, output, samePage, options.MapName, err);
    const SaveResult saved = SaveDocumentFile(state, 1, output, true, false);
    if (!saved.Ok)
        return Fail(err, saved.Error);
    return kConvertOk;
}

} // namespace

int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
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
        return Convert(options, out, err);
    } catch (const std::exception& e) {
        return Fail(err, e.what());
    }
}

} // namespace karvex
