// The plug-in's settings and the reader that takes them from the settings
// file at start. Needs no window system.
#pragma once

#include "plugin/host_api.h"

#include <cstdint>

// Where the display stands: one of nine places of the work area (the screen
// less the taskbar), or, without GLIMRA.position, the screen's own corner.
enum class DisplayPosition : uint8_t {
    ScreenCorner, // the screen's 0,0, whatever the taskbar covers there
    TopLeft,
    Top,
    TopRight,
    Left,
    Center,
    Right,
    BottomLeft,
    Bottom,
    BottomRight
};

struct OsdSettings {
    int32_t timeout;          // milliseconds a host text stays on screen
    int32_t fontHeight;       // letter cell height in percent of one logical inch
    uint32_t clrOSD;          // letter colour, 0x00BBGGRR
    uint32_t clrOutline;      // outline colour, 0x00BBGGRR
    DisplayPosition position; // after the four, which keep their order
};

// Near-black, not black, for the outline: black is the see-through key.
constexpr OsdSettings DEFAULT_SETTINGS = {3000, 75, 0xFFFFFF, 0x010101,
                                          DisplayPosition::ScreenCorner};

// The module's settings: the defaults until readSettings has run.
extern OsdSettings osdSettings;

// Which setting a line of the settings file set.
enum class SettingKey : uint8_t { None, Timeout, FontHeight, ClrOSD, ClrOutline, Position };

// Finds the settings file beside the plug-in or the host and reads it into osdSettings.
void readSettings(InstanceHandle instance);

// Leaves in path the first settings file that exists ("glimrarc", then "glimra.rc",
// beside the plug-in, then beside the host); false when there is none.
bool findSettingsFile(InstanceHandle instance, char (&path)[HOST_PATH_SIZE]);

// Reads every line of the file at path into settings.
void readSettingsFile(const char* path, OsdSettings& settings);

// Applies one line of a settings file to settings and tells which key it set.
SettingKey applySettingsLine(const char* line, OsdSettings& settings);

// The font's cell height in pixels on a screen of dotsPerInch: fontHeight is a
// percentage of one logical inch. The product is taken unsigned, so a negative
// setting gives a huge height rather than a negative one.
int fontPixelHeight(int dotsPerInch, int32_t fontHeight);

// The first character of text that is neither a space nor a tab.
const char* skipBlanks(const char* text);

// The value of the hexadecimal digits at the start of text; only the last
// eight count, and anything else (a "0x" or "#" too) ends the number.
uint32_t parseHexColor(const char* text);

// The place that the word at the start of text names, letter case aside; the
// word ends at a blank, a tab, the line's end or any other control character.
// Any other word, "middle" or "centre" say, gives ScreenCorner, as if the key
// were not there.
DisplayPosition parseDisplayPosition(const char* text);

// The word the settings file names position with; "" for ScreenCorner.
const char* displayPositionName(DisplayPosition position);
