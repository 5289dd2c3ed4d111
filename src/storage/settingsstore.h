#pragma once
// The registry-backed settings other than the user options: window layout, tabs,
// Aspect and stylesheet, column widths, the database to open, the first-run marker,
// the program's path and version, the recent list and the search history. Every value
// is text under the application key; every getter gives its default when the value
// is empty, and keeps the error of a value it cannot convert, which the window shows
// (takeErrorNotices) once it has read its settings. Nothing is cached.
#include "platform/notice.h"
#include "storage/folderlistcolumns.h"
#include "storage/regconvert.h"
#include "storage/vddata.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace rr::SettingsStore
{

inline constexpr char kAppKey[] = "Software\\Quorvane\\Vardecks\\";
// The value of the application key that names the database to open.
inline constexpr char kCurrentDBValue[] = "currentDB";
inline constexpr char kRecentKey[] = "Software\\Quorvane\\Vardecks\\Recent\\";
inline constexpr char kSearchKey[] = "Software\\Quorvane\\Vardecks\\Search\\";
inline constexpr char kUserOptionsKey[] = "Software\\Quorvane\\Vardecks\\UserOptions\\";
inline constexpr char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
inline constexpr char kExeName[] = "Vardecks.exe";
inline constexpr char kVersion[] = "3.0.1";

// --- getters ---
bool isBasicAppRegistered();
qint16 getTabIndexSetting();
qint16 getTabViewSetting();
qint16 getTabInfoSetting();
qint16 getFrmWidthSetting();
qint16 getFrmHeightSetting();
qint16 getFrmLeftSetting();
qint16 getFrmTopSetting();
// The detected-pages dialog's place, in twips: 32-bit, as large screens need.
qint32 getFrmVDWidthSetting();
qint32 getFrmVDHeightSetting();
qint32 getFrmVDLeftSetting();
qint32 getFrmVDTopSetting();
qint16 getSplitter1Setting();
qint16 getSplitter2Setting();
// The width of a column of listVD and of column i of lstSearch ("cs" i); 0 when missing.
qint16 getColWidth(FolderListColumn column);
qint16 getColWidthSearch(int i);
QString getCurrentDB();
QString getFrmMaximised();
QString getAspectSetting();
QString getAspectStyle();
// True only for the text "True" exactly.
bool getWebAspectHtml();
// The local ports where browsers started with remote debugging are asked for their
// pages: 9222 always, then the ports of "DevToolsPorts", numbers separated by blanks
// or commas, 8 ports in all at most. RAZUZEZU_DEVTOOLS_PORTS in the environment, when
// set, is read instead of the setting (set and empty: no port at all, not even 9222).
// Entries that are no port, and repeats, are passed over.
inline constexpr quint16 kDefaultDevToolsPort = 9222;
inline constexpr int kMaxDevToolsPorts = 8;
QList<quint16> getDevToolsPorts();

// --- writers (Integers are clamped to the 16-bit range they are read back in) ---
void setupAppPathInRegistry();
void addBasicAppRegEntries();
void addDefaultFormValues(int tabIndex, int tabInfo, int tabView, const QString &aspect, const QString &aspectStyle,
                          const QString &webAspectHtml, bool iconView);
void setAspectStyle(const QString &style);
// The main window as it closes: the tabs shown, the Aspect, its place and size in
// twips, the two splitters, whether it was maximised and whether the Web Aspect shows
// its pages in the window. Stored as text: numbers in decimal, Booleans "True"/"False".
struct SavedWindowValues {
    // The tab each strip shows (tabIndex, tabInfo, tabView), counted from 0.
    int indexTab = 0;
    int infoTab = 0;
    int viewTab = 0;
    QString aspect;
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    int splitter1 = 0;
    int splitter2 = 0;
    bool maximised = false;
    bool webAspectHtml = false;
};
void setSavedFormValues(const SavedWindowValues &values);
// A column's width of listVD; the window's close writes each of them just before
// setMoreFormValues.
void setColWidth(FolderListColumn column, int width);
// The database to open next time.
void setMoreFormValues(const QString &currentDB);
// The width of column i of lstSearch ("cs" i), as getColWidthSearch reads it; the
// window's close writes them just after setMoreFormValues.
void setColWidthSearch(int i, int width);
// Written as 32-bit numbers, unlike the other window values.
void setVDFormValues(qint32 width, qint32 height, qint32 left, qint32 top);
void setVersion();

// --- the recent list and the search history ---
// Replaces the "Recent\" key by the list; record 1 is the list's first (oldest).
void writeRecentList(const QList<VDData> &list);
// Writes "search" 1..n and removes every higher "search" value left from before.
void writeSearchList(const QStringList &list);
void clearRecentList();
// At most recentMax records, up to the first number whose "_ID" is empty.
QList<VDData> loadRecentList();
// At most searchMax texts in the order of their numbers; empty numbers are skipped.
QStringList loadSearchList();

// --- the error reporter ---
// The errors the getters kept since the last call, in order, as notices with the
// text "[" number "] " description, no icon and the program's title; the kept list
// is emptied. A settings file found unreadable comes first, with an exclamation: it
// names the copy kept aside (or says the file was left in place and settings are not
// saved); *userSettingsSetAside is the place of the notice that says the user's settings
// started from their defaults because of it, or -1.
Notices takeErrorNotices(int *userSettingsSetAside = nullptr);

} // namespace rr::SettingsStore
