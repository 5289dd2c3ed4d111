#pragma once
// Helpers many windows share: the font fallback for systems without the designed
// font, the user's font size for the main window, the installed path of a browser,
// and the error message box.
#include <QString>

class QWidget;

namespace rr
{

class frmVardecks;

// True when the installed fonts include "Microsoft Sans Serif" (exact name); the
// start-up keeps the answer in the session (sansSerifInstalled), which the windows read
// as they load.
bool detectSansSerifInstalled();

// Gives every control of the window the font fontName, except controls set in
// "Verdana"; size, weight and the other attributes stay.
void setFormFont(QWidget *window, const QString &fontName);

// The fallback every window takes as it loads: setFormFont with "MS Sans Serif" when
// the designed font is not installed, nothing otherwise.
void applyFontFallback(QWidget *window);

// Applies the user's font size (8 to 11) to the main window's lists, trees and text
// fields, with their parts (a tree's in-place editor opens with it); 0 means 8, also
// in the caller's variable. The single-line boxes get the height that fits the size,
// and each list and tree shows its current row whole.
void applyFontSize(frmVardecks &window, int &size);

// The installed path of a browser's program: the App Paths entry of exeName in our
// registry store, or else the browser found on the PATH ("firefox.exe": firefox or
// firefox-esr; "Mozilla.exe": seamonkey; "Opera.exe": opera). "" when absent, and
// always "" for the browsers that exist only on Windows.
QString getAppPathFromRegistry(const QString &exeName);

} // namespace rr
