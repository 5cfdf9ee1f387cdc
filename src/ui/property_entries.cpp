#include "ui/property_entries.h"

namespace karvex {

namespace {

constexpr auto H = PropertyKind::Heading;
constexpr auto T = PropertyKind::Text;
constexpr auto N = PropertyKind::Number;

// The script events both grids offer, after the hotspot grid's focus events.
constexpr PropertyEntry kEventEntries[] = {
    { "onClick", "OnClick", T, "", "Occurs when a visitor click the mouse over an hotspot." },
    { "onDblClick", "OnDblClick", T, "",
        "Occurs when a visitor double click the mouse over an hotspot." },
    { "onMouseDown", "OnMouseDown", T, "",
        "Occurs when a visitor presses the mouse button over an hotspot." },
    { "onMouseUp", "OnMouseUp", T, "",
        "Occurs when a visitor releases the mouse button over an hotspot." },
    { "onMouseOver", "OnMouseOver", T, "",
        "Occurs when a visitor moves the mouse over an hotspot." },
    { "onMouseMove", "OnMouseMove", T, "",
        "Occurs when a visitor moves the mouse while still over an hotspot." },
    { "onMouseOut", "OnMouseOut", T, "",
        "Occurs when a visitor moves the mouse away from an hotspot." },
    { "onKeyPress", "OnKeyPress", T, "",
        "Occurs when a visitor presses and release a key over an hotspot." },
    { "onKeyDown", "OnKeyDown", T, "",
        "Occurs when a visitor presses a key down over an hotspot." },
    { "onKeyUp", "OnKeyUp", T, "", "Occurs when a visitor releases a key over an hotspot." },
};

constexpr PropertyEntry kHotspotEntries[] = {
    { "Standard", "Standard", H, "", "" },
    { "Name", "Name", T, "", "This is the name of the hotspot. Every name must be unique" },
    { "Alt", "Alt", T, "", "This is the text appearing as tooltip" },
    { "Href", "Href", T, "",
        "This is the address which the user will be sent to when clicking within the area" },
    { "Target", "Target", T, "",
        "Specifies which named frame the linked document should be loaded in." },
    { "Shape", "Shape", H, "", "" },
    { "Type", "Type", PropertyKind::Choice, "Rectangle",
        "Which hotspot type this object should be" },
    { "Color", "Color", PropertyKind::Colour, "#453322",
        "Used in design-mode to get an better view over the different hotspots." },
    { "Locked", "Locked", PropertyKind::Choice, "False",
        "Specifies if the hotspot should be locked in design mode." },
    { "Coordinates", "Coordinates", H, "", "" },
    { "X1", "X1", N, "", "Specifies the left coordinate." },
    { "X2", "X2", N, "", "Specifies the right coordinate." },
    { "Y1", "Y1", N, "", "Specifies the top coordinate." },
    { "Y2", "Y2", N, "", "Specifies the bottom coordinate." },
    { "Events", "Events", H, "", "" },
    { "OnFocus", "OnFocus", T, "",
        "Occurs when a visitor moves the focus to an hotspot either using the mouse or the Tab "
        "key." },
    { "OnBlur", "OnBlur", T, "",
        "Occurs when a visitor moves focus from an hotspot either with the mouse or the tab key." },
};

constexpr PropertyEntry kMapEntries[] = {
    { "Standard", "Standard Attributes", H, "", "" },
    { "Picture", "Picture", PropertyKind::File, "",
        "Specifies the location of a file that contains the graphic image you want to use in the "
        "document." },
    { "LowSrc", "LowSrc", PropertyKind::File, "",
        "Specifies the location of a lower resolution version of the main image." },
    { "Width", "Width", N, "", "Specifies the width of the image in pixels." },
    { "Height", "Height", N, "", "Specifies the height of the image in pixels." },
    { "BorderSize", "Border", N, "", "Specifies the width of the border around the image." },
    { "AltText", "Alt", T, "",
        "Specifies an textual description of the image, this will appear as an tooltip." },
    { "Usemap", "UseMap", T, "",
        "Specifies the imagemap name within the document. This have to be unique." },
    { "Header3", "Save Options", H, "", "" },
    { "RelativePath", "Path Options", PropertyKind::Choice, "",
        "What kind of image path do you want to use when saving this document?." },
    { "ServerType", "ServerSideType", PropertyKind::Choice, "",
        "If saving as an MAP file, what server side file type should be used." },
    { "Diverse", "Advanced Attributes", H, "", "" },
    { "ID", "ID", T, "", "Specifies a unique ID selector to an instance of the image tag." },
    { "Name", "Name", T, "", "Specifies a unique name for the image." },
    { "Align", "Align", PropertyKind::Choice, "Left",
        "Specifies the appearance of text that is near an inline graphic image." },
    { "Class", "Class", T, "", "Indicates which style class applies to the image hotspot." },
    { "DataSrc", "DataSrc", T, "", "Specifies the location of tabular data to be bound." },
    { "HSpace", "HSpace", N, "0",
        "Specifies the horizontal space to the left and right of the image." },
    { "VSpace", "VSpace", N, "0", "Specifies the vertical space above and below the image." },
    { "Title", "Title", T, "", "Specifies text assigned to the tag." },
    { "Events", "Events", H, "", "" },
};

// Map entries written from the IMG attribute of their own name.
constexpr const char* kPlainMapKeys[]
    = { "ID", "Name", "Align", "Class", "DataSrc", "HSpace", "VSpace", "Title" };

} // namespace

std::span<const PropertyEntry> HotspotEntries() { return kHotspotEntries; }
std::span<const PropertyEntry> MapEntries() { return kMapEntries; }
std::span<const PropertyEntry> EventEntries() { return kEventEntries; }
std::span<const char* const> PlainMapKeys() { return kPlainMapKeys; }

QStringList EntryChoices(const QString& key)
{
    const QString upper = key.toUpper();
    if (upper == "TYPE")
        return { "Rectangle", "Circle", "Polygon" };
    if (upper == "LOCKED")
        return { "True", "False" };
    if (upper == "ALIGN")
        return { "Left", "Center", "Right" };
    if (upper == "RELATIVEPATH")
        return { "Current Path", "Relative Path", "Direct path" };
    if (upper == "SERVERTYPE")
        return { "NCSA", "CERN" };
    return {};
}

} // namespace karvex
