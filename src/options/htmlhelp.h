#pragma once
// The help file: "Vardecks Help.chm", installed as a folder of HTML pages whose
// contents page is "index.htm". Callers set the help file and a topic page and ask for
// one display; pages open in the desktop's browser. A missing help file or page is
// reported by this class itself.
#include <QString>

namespace rr {

class HTMLHelp {
public:
    // The path of the installed help file.
    static QString defaultHelpFile();

    QString CHMFile;
    QString HHTopicURL;

    // Open the topic page, or the contents; false when nothing was opened.
    bool HHDisplayTopicURL();
    bool HHDisplayContents();

    // True when the name ends in "chm" (any case); warns otherwise.
    bool isCHMFile(const QString &name) const;
    // A bare name is completed with the help folder; true when the path exists, with
    // a warning otherwise.
    bool EnsureFileExists(QString &path) const;

private:
    bool display(const QString &page);
};

}  // namespace rr
