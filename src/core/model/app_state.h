#pragma once

// The program-wide model state: the document table, the current indices, the shared
// collections, the loaded settings and the start-up log, held together so that each test
// can start from a fresh instance.

#include "core/model/keyed_collection.h"
#include "core/model/records.h"
#include "core/settings/error_log.h"
#include "core/settings/settings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace karvex {

struct AppState
{
    std::string AppTitle;
    std::string AppPath; // the program folder: kvx.ini, Errors/, help/ live here
    std::string SettingsPath;
    std::string HelpFile;
    bool ErrorLogEnabled = true;

    std::vector<Document> Documents = std::vector<Document>(1); // slot 0 unused
    std::int32_t CurrentDocument = 0;
    std::int32_t CurrentImage = 1;
    std::int32_t CurrentHotspot = 0;
    KeyedCollection<std::int32_t> HotspotNames; // name to slot, active document only
    KeyedCollection<std::string> OpenDocuments; // title to slot as decimal text
    std::vector<Hotspot> HotspotClipboard = std::vector<Hotspot>(1);
    std::int32_t PanelShowsHotspot = 0;
    std::int32_t SuppressPanelEvents = 1;

    GlobalSettings Settings;
    ErrorLog Log;
};

// The running program's one instance.
AppState& State();

} // namespace karvex
