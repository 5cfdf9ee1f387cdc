#pragma once

// The entries of the property panel's two grids: key, caption, kind, preset value and the
// description shown under the grid, in the order the grids list them, and the choices of the
// entries that offer a list.

#include "components/property_grid/property_grid.h"

#include <QString>
#include <QStringList>
#include <span>

namespace karvex {

struct PropertyEntry
{
    const char* Key;
    const char* Caption;
    PropertyKind Kind;
    const char* Preset;
    const char* Description;
};

// The hotspot grid: name, links, shape, colour, lock and coordinates, then the focus events.
std::span<const PropertyEntry> HotspotEntries();
// The map grid: the picture, its size and map, the save options and the IMG tag's attributes.
std::span<const PropertyEntry> MapEntries();
// The script events both grids end with.
std::span<const PropertyEntry> EventEntries();
// Map entries written from the IMG attribute of their own name.
std::span<const char* const> PlainMapKeys();

// The values a choice entry offers; empty for other entries.
QStringList EntryChoices(const QString& key);

} // namespace karvex
