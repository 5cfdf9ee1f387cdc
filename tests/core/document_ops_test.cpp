#include "core/model/zoom_levels.h"
#include "core/operations/document_ops.h"
#include "core/util/file_io.h"
#include "support/temp_dir.h"

#include <array>
#include <gtest/gtest.h>

namespace karvex {
namespace {

TEST(CreateDocumentFromPicture, FillsANewSlotFromThePicture)
{
    test::TempDir dir;
    const std::string path = dir.File("photo.gif");
    // A GIF header is all the size probe reads: 320 by 200.
    ASSERT_TRUE(WriteWholeFile(path, std::string("GIF89a\x40\x01\xC8\x00", 10)));

    AppState state;
    state.HotspotNames.Add("Rectangle1", 1); // the previously current document's names
    EXPECT_EQ(CreateDocumentFromPicture(state, path), 1);
    const Document& doc = state.Documents[1];
    EXPECT_EQ(state.CurrentDocument, 1);
    EXPECT_EQ(state.HotspotNames.Count(), 0u);
    EXPECT_EQ(doc.Title, "Untitled1");
    EXPECT_EQ(doc.FilePath, "");
    EXPECT_EQ(doc.ImgTag,
        "<IMG SRC=\"" + path + "\" Width=\"320\" Height=\"200\" UseMap=\"#photo.gif\">");
    const MapImage& image = doc.Images[1];
    EXPECT_EQ(image.Src, path);
    EXPECT_EQ(image.MapName, "photo.gif");
    EXPECT_EQ(image.UseMap, "#photo.gif");
    EXPECT_EQ(image.MapTag, "<MAP NAME=\"photo.gif\">");
    EXPECT_EQ(image.MapEndTag, "</MAP>");
    EXPECT_EQ(image.Width, 320);
    EXPECT_EQ(image.Height, 200);
    EXPECT_EQ(state.OpenDocuments.Find("UNTITLED1"), "1");

    // Slots are never reused: after closing the first, the next is still Untitled2.
    ForgetDocument(state, 1);
    EXPECT_EQ(state.CurrentDocument, 0);
    EXPECT_EQ(state.OpenDocuments.Count(), 0u);
    EXPECT_TRUE(state.Documents[1].ImgTag.empty()); // the closed record is released
    EXPECT_EQ(CreateDocumentFromPicture(state, "C:\\pics\\Photo.JPG"), 2);
    EXPECT_EQ(state.Documents[2].Title, "Untitled2");
    EXPECT_EQ(state.Documents[2].Images[1].MapTag, "<MAP NAME=\"Photo.JPG\">");
    EXPECT_EQ(state.Documents[2].ImgTag,
        "<IMG SRC=\"C:\\pics\\Photo.JPG\" Width=\"0\" Height=\"0\" UseMap=\"#Photo.JPG\">");
}

class DocumentSlots : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int slot = 1; slot <= 2; ++slot) {
            Document& doc = state.Documents.emplace_back();
            doc.Title = "/site/Page" + std::to_string(slot) + ".html";
            state.OpenDocuments.Add(doc.Title, std::to_string(slot));
        }
        auto& spots = state.Documents[1].Hotspots;
        for (const char* name : { "Rectangle1", "Circle2", "Polygon3" }) {
            Hotspot& spot = spots.emplace_back();
            spot.Name = name;
            spot.Active = true;
        }
        spots[2].Active = false;
    }

    AppState state;
};

TEST_F(DocumentSlots, FindsOpenDocumentsCaseBlind)
{
    EXPECT_EQ(FindOpenDocument(state, "/SITE/page2.HTML"), 2);
    EXPECT_EQ(FindOpenDocument(state, "/site/Page3.html"), std::nullopt);
    state.OpenDocuments.Add("/site/broken.html", "x");
    state.OpenDocuments.Add("/site/gone.html", "9");
    EXPECT_EQ(FindOpenDocument(state, "/site/broken.html"), std::nullopt);
    EXPECT_EQ(FindOpenDocument(state, "/site/gone.html"), std::nullopt);
}

TEST_F(DocumentSlots, ActivationRegistersOnlyLiveNamesAndClosingForgetsThem)
{
    ActivateDocumentNames(state, 1);
    EXPECT_EQ(state.CurrentDocument, 1);
    ASSERT_EQ(state.HotspotNames.Count(), 2u);
    EXPECT_EQ(state.HotspotNames.Find("rectangle1"), 1);
    EXPECT_EQ(state.HotspotNames.Find("Polygon3"), 3);
    EXPECT_FALSE(state.HotspotNames.Contains("Circle2"));

    ActivateDocumentNames(state, 2);
    EXPECT_EQ(state.CurrentDocument, 2);
    EXPECT_EQ(state.HotspotNames.Count(), 0u);

    ActivateDocumentNames(state, 1);
    ForgetDocument(state, 2); // not current: the names stay
    EXPECT_EQ(state.HotspotNames.Count(), 2u);
    EXPECT_FALSE(state.OpenDocuments.Contains("/site/Page2.html"));
    ForgetDocument(state, 1);
    EXPECT_EQ(state.HotspotNames.Count(), 0u);
    EXPECT_EQ(state.CurrentDocument, 0);
    EXPECT_EQ(state.OpenDocuments.Count(), 0u);

    ActivateDocumentNames(state, 7); // no such slot: nothing happens
    EXPECT_EQ(state.CurrentDocument, 0);
}

TEST(WindowCaption, TitleWithoutFolder)
{
    struct Case
    {
        const char* title;
        PathStyle style;
        bool changed;
        const char* caption;
    };
    const Case cases[] = {
        { "C:\\web\\page.html", PathStyle::Windows, true, "page.html*" },
        { "/home/ann/page.html", PathStyle::Posix, false, "page.html" },
        { "/home/ann/a\\b.html", PathStyle::Posix, false, "b.html" },
        { "C:/web/page.html", PathStyle::Windows, false, "C:/web/page.html" },
        { "Untitled3", PathStyle::Posix, true, "Untitled3*" },
    };
    for (const auto& c : cases) {
        Document doc;
        doc.Title = c.title;
        doc.Changed = c.changed;
        EXPECT_EQ(WindowCaption(doc, c.style), c.caption) << c.title;
    }
}

TEST(ZoomLevels, KeysAndNeighbours)
{
    const std::pair<const char*, int> keys[] = { { "ZOOM1", 25 }, { "zoom4", 100 }, { "100", 100 },
        { "ZOOM9", 0 }, { "", 0 }, { "25", 0 } };
    for (const auto& [key, percent] : keys)
        EXPECT_EQ(ZoomPercentForKey(key), percent) << key;
    EXPECT_EQ(ZoomKeyForPercent(20), "Zoom1");
    EXPECT_EQ(ZoomKeyForPercent(150), "");

    // From between two levels, from a level and past either end.
    const std::array<int, 3> neighbours[] = { { 150, 100, 200 }, { 100, 75, 200 }, { 25, 25, 50 },
        { 500, 400, 500 }, { 10, 10, 25 }, { 900, 500, 900 } };
    for (const auto& [percent, previous, next] : neighbours) {
        EXPECT_EQ(PreviousZoomLevel(percent), previous) << percent;
        EXPECT_EQ(NextZoomLevel(percent), next) << percent;
    }
}

} // namespace
} // namespace karvex
