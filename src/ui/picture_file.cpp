#include "ui/picture_file.h"

#include "core/formats/image_size.h"
#include "ui/qt_text.h"

#include <QImageReader>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

namespace karvex {

namespace {

// Half the machine's memory, in megabytes: room for the decoded picture and a zoomed copy of
// its visible part.
int PictureMemoryLimitMb()
{
    long long bytes = 1LL << 30;
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGESIZE)
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        bytes = static_cast<long long>(pages) * pageSize / 2;
#endif
    return static_cast<int>(std::clamp<long long>(bytes >> 20, 256, 1 << 20));
}

// What keeps the file from being read at all, in the system's words; "" when it can be opened.
std::string FileProblem(const std::string& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(path), ec);
    if (ec)
        return ec.message();
    if (std::filesystem::is_directory(status))
        return std::make_error_code(std::errc::is_a_directory).message();
    if (!std::filesystem::is_regular_file(status))
        return "Not a regular file";
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::make_error_code(std::errc::permission_denied).message();
    return {};
}

// The kinds of picture Qt reads here, each with its endings, in the order the dialogs list them.
struct PictureKind
{
    std::string Caption;
    std::vector<std::string> Endings;
};

const std::vector<PictureKind>& PictureKinds()
{
    static const std::vector<PictureKind> kinds = [] {
        // The common kinds first, under the names they go by; the rest follow by name.
        const std::vector<PictureKind> known = {
            { "PNG", { "png" } },
            { "JPEG", { "jpg", "jpeg", "jfif" } },
            { "GIF", { "gif" } },
            { "BMP", { "bmp" } },
            { "WebP", { "webp" } },
            { "TIFF", { "tif", "tiff" } },
        };
        std::vector<std::string> readable;
        for (const QByteArray& format : QImageReader::supportedImageFormats())
            readable.push_back(format.toLower().toStdString());
        const auto canRead = [&readable](const std::string& ending) {
            return std::find(readable.begin(), readable.end(), ending) != readable.end();
        };
        std::vector<PictureKind> list;
        std::vector<std::string> listed;
        for (const PictureKind& kind : known) {
            // A kind Qt reads is offered with all its usual endings.
            if (std::none_of(kind.Endings.begin(), kind.Endings.end(), canRead))
                continue;
            listed.insert(listed.end(), kind.Endings.begin(), kind.Endings.end());
            list.push_back(kind);
        }
        std::sort(readable.begin(), readable.end());
        for (const std::string& format : readable) {
            if (std::count(listed.begin(), listed.end(), format))
                continue;
            std::string caption = format;
            for (char& c : caption)
                c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
            list.push_back({ caption, { format } });
            listed.push_back(format);
        }
        return list;
    }();
    return kinds;
}

std::string Patterns(const std::vector<std::string>& endings)
{
    std::string text;
    for (const std::string& ending : endings)
        text += (text.empty() ? "*." : ";*.") + ending;
    return text;
}

} // namespace

std::string PictureFilter()
{
    std::string filter;
    std::vector<std::string> all;
    for (const PictureKind& kind : PictureKinds()) {
        const std::string patterns = Patterns(kind.Endings);
        filter.append(kind.Caption).append(" Files (").append(patterns).append(")|");
        filter.append(patterns).append("|");
        all.insert(all.end(), kind.Endings.begin(), kind.Endings.end());
    }
    return filter + "All Picture Files|" + Patterns(all);
}

int AllPicturesFilterIndex() { return static_cast<int>(PictureKinds().size()) + 1; }

bool IsPicturePath(const std::string& path)
{
    const std::size_t dot = path.find_last_of("./\\");
    if (dot == std::string::npos || path[dot] != '.')
        return false;
    std::string ending = path.substr(dot + 1);
    for (char& c : ending)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (const PictureKind& kind : PictureKinds()) {
        if (std::count(kind.Endings.begin(), kind.Endings.end(), ending))
            return true;
    }
    return false;
}

LoadedPicture LoadPicture(const std::string& path)
{
    static const int limitMb = [] {
        const int limit = PictureMemoryLimitMb();
        QImageReader::setAllocationLimit(limit);
        return limit;
    }();

    LoadedPicture loaded;
    QImageReader reader(ToDisplay(path));
    reader.setAutoTransform(false);
    loaded.Image = reader.read();
    if (!loaded.Image.isNull())
        return loaded;

    // The file's own trouble (missing, unreadable, a folder) says more than the decoder's.
    if (std::string problem = FileProblem(path); !problem.empty()) {
        loaded.Reason = std::move(problem);
        return loaded;
    }
    const QSize size = reader.size();
    const long long bytes = 4LL * size.width() * size.height();
    if (size.isValid() && bytes > (static_cast<long long>(limitMb) << 20)) {
        loaded.Reason = "The picture is " + std::to_string(size.width()) + " x "
            + std::to_string(size.height()) + " pixels; it needs " + std::to_string(bytes >> 20)
            + " MB, more than the " + std::to_string(limitMb)
            + " MB this computer can give a picture";
        return loaded;
    }
    loaded.Reason = FromDisplay(reader.errorString());
    return loaded;
}

QSize PictureSize(const std::string& path, const QImage& picture)
{
    const ImageSize probed = UnpackImageSize(GetImageSize(path));
    if (probed.Width > 0 && probed.Height > 0)
        return { probed.Width, probed.Height };
    return picture.size();
}

} // namespace karvex
