#!/usr/bin/env python3
"""Counts how far the main window is still the program's shared blackboard.

Run from anywhere in a checkout:  python3 tools/ownership_counts.py [--list]

It reads the sources as text (comments and string literals left out) and prints:
- the public data members and public functions of frmVardecks;
- the files that include the main window's header;
- the controls (widgets and timers kept as members of a class of src/) named, or
  handed out by the class's accessors, in a file that is not the keeping class's own;
- calls, from outside src/shell, of the window's one-statement inline setters;
- bare column numbers given to a list row or a list's header;
- comparisons with a control's visible text;
- calls of the numbered control accessors (cmdEdit(n), chkOpt(n)...).
With --list it also names the places behind each count.
"""
import functools
import os
import re
import subprocess
import sys
from collections import defaultdict

TOP = subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True, text=True).stdout.strip() or \
    subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True, text=True,
                   cwd=os.path.dirname(os.path.abspath(__file__))).stdout.strip()
LIST = "--list" in sys.argv

WINDOW_CONTROLS = """
formClient Toolbar1 Toolbar2 StatusBar1 Picture2 txtS chkWebAspectBrowser wbWeb Splitter2 tabIndex Picture1
Splitter1 tvwTopics tvwWM cmdMoveVD cmdMoveFolder cmbSearch cmdSearch Frame4 lblFound lstSrch Picture5 tvwFavs
cmdFAdd cmdFDelete Picture4 listPop tabView Frame2 lblWName txtWName lblAddress txtAddress imgIcon tabInfo listVD
lstSearch PictureDetails picThumb chkFav cmdAddFavs Picture10 lblHome lblCreatedDate lblFileSize lblDescription
txtDescription lblKeyWords txtKeywords wbPreview chkAutoPreview previewProgress txtNotes txtMode lblTName
ThunderTextBox Timer1 timerIcon Picture8 Picture3
""".split()

WIDGET_TYPES = {
    "QWidget", "QToolBar", "StatusPanels", "QLineEdit", "QCheckBox", "Splitter", "TabStrip", "QTreeWidget",
    "qbButtons_H", "QComboBox", "QGroupBox", "QLabel", "QPlainTextEdit", "QProgressBar", "QTextEdit", "QTimer",
    "QTabWidget", "QListWidget", "QPushButton", "QStatusBar",
}


def sources(under="src"):
    out = subprocess.run(["git", "ls-files", under], capture_output=True, text=True, cwd=TOP).stdout.split()
    return [p for p in out if p.endswith((".cpp", ".h", ".inc"))]


def code_only(text):
    """The text with comments and string/char literals blanked (line breaks kept)."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


_cache = {}


def read(path):
    if path not in _cache:
        with open(os.path.join(TOP, path), encoding="utf-8", errors="replace") as f:
            _cache[path] = code_only(f.read())
    return _cache[path]


def class_body(text, name):
    m = re.search(r"\bclass\s+" + name + r"\b[^;{]*\{", text)
    if not m:
        return ""
    depth, i = 1, m.end()
    start = i
    while depth and i < len(text):
        depth += {"{": 1, "}": -1}.get(text[i], 0)
        i += 1
    return text[start:i - 1]


def members(body):
    """(access, statement, inline_body) for each declaration at the class's own level."""
    access = "private"
    result = []
    stmt, depth, inner = "", 0, ""
    for c in body:
        if depth == 0:
            if c == "{":
                depth = 1
                inner = ""
                continue
            stmt += c
            if c == ";":
                s = " ".join(stmt.split())
                if s != ";":
                    result.append((access, s[:-1].strip(), inner))
                stmt, inner = "", ""
            m = re.search(r"(?:^|\s)(public|protected|private|signals|public slots|private slots)\s*:$", stmt)
            if m and not stmt.endswith("::"):
                access = m.group(1)
                stmt = ""
        else:
            depth += {"{": 1, "}": -1}.get(c, 0)
            if depth == 0:
                # An inline body ends the declaration (no ';' follows a function body).
                s = " ".join(stmt.split())
                if "(" in s and not re.search(r"\b(enum|struct|class|union)\b", s) and "=" not in s.split("(")[0]:
                    result.append((access, s, inner))
                    stmt, inner = "", ""
                else:
                    stmt += "{}"
            else:
                inner += c
    return result


def is_function(stmt):
    head = stmt.split("=")[0] if "(" not in stmt.split("=")[0] and "=" in stmt else stmt
    return "(" in head and not stmt.startswith(("Q_", "friend", "using", "typedef"))


def data_name(stmt):
    if stmt.startswith(("using", "typedef", "friend", "enum", "Q_OBJECT", "struct", "class", "static_assert")):
        return None
    s = stmt.split("=")[0].strip()
    s = re.sub(r"\{\}$", "", s).strip()
    m = re.search(r"([A-Za-z_]\w*)\s*(\[[^\]]*\])?$", s)
    return m.group(1) if m else None


def raw(path):
    with open(os.path.join(TOP, path), encoding="utf-8", errors="replace") as f:
        return f.read()


@functools.lru_cache(maxsize=None)
def definers(src, cls):
    """The files that define functions of class cls (a line that begins with a definition)."""
    pat = re.compile(r"^[^\s#/].*\b" + cls + r"::~?\w+\s*\(", re.M)
    return {p for p in src if p.endswith((".cpp", ".inc")) and pat.search(read(p))}


@functools.lru_cache(maxsize=None)
def declarers(src, cls):
    return {p for p in src if p.endswith(".h") and class_body(read(p), cls)}


def class_files(src, cls):
    return definers(src, cls) | declarers(src, cls)


def control_keepers(src, skip):
    """control name -> (class, member): the member a class's code makes the control in."""
    result = {}
    for p in src:
        if skip(p) or not p.endswith((".cpp", ".inc")):
            continue
        text = raw(p)
        for name in WINDOW_CONTROLS:
            lit = '"' + name + '"'
            if lit not in text:
                continue
            m = re.search(r"\b(\w+)\s*=\s*[^;]*?" + re.escape(lit), text) or \
                re.search(r"\b(\w+)\s*->\s*setObjectName\s*\(\s*(?:QStringLiteral\s*\()?" + re.escape(lit), text)
            if not m:
                continue
            member = m.group(1)
            for h in src:
                if not h.endswith(".h"):
                    continue
                for cm in re.finditer(r"\bclass\s+(\w+)\b[^;{]*\{", read(h)):
                    cls = cm.group(1)
                    decl = re.compile(r"\*\s*" + member + r"\s*(?:=|;|\{)")
                    if decl.search(class_body(read(h), cls)) and p in definers(src, cls):
                        result[name] = (cls, member)
    return result


def handouts(src, cls, member):
    """The functions of cls that return the member itself (inline or defined in its files)."""
    found = set()
    ret = re.compile(r"return\s+(?:\w+\s*\?\s*\w+\s*->\s*)?" + member + r"\s*(?::\s*nullptr\s*)?;")
    for h in declarers(src, cls):
        for access, stmt, body in members(class_body(read(h), cls)):
            m = re.search(r"(\w+)\s*\(", stmt)
            if m and access.startswith("public") and body.count(";") == 1 and ret.search(body):
                found.add(m.group(1))
    for p in definers(src, cls):
        text = read(p)
        for m in re.finditer(r"^[^\s#/].*\b" + cls + r"::(\w+)\s*\([^)]*\)[^{;]*\{", text, re.M):
            end = text.find("}", m.end())
            body = text[m.end():end]
            if "{" not in body and body.count(";") == 1 and ret.search(body):
                found.add(m.group(1))
    return found


def accessor_calls(path, cls, accessors):
    """Calls of the accessors on cls itself, on its part of a window (cls::of(w)) or on a
    variable or member of the file (or of its header) declared as cls."""
    text = read(path)
    twin = os.path.splitext(path)[0] + ".h"
    if os.path.exists(os.path.join(TOP, twin)):
        text += read(twin)
    names = set(re.findall(r"\b" + cls + r"\s*[&*]\s*(\w+)", text))
    names |= set(re.findall(r"\b(\w+)\s*=\s*new\s+" + cls + r"\b", text))
    names |= set(re.findall(r"\b(\w+)\s*=\s*&?\s*" + cls + r"::of\s*\(", text))
    receivers = [cls + r"::of\s*\([^()]*\)\s*(?:\.|->)", cls + r"::"]
    receivers += [r"\b" + re.escape(n) + r"\s*(?:\.|->)" for n in sorted(names)]
    return re.compile(r"(?:" + "|".join(receivers) + r")\s*(?:" + "|".join(sorted(accessors)) + r")\s*\(")


def main():
    header = "src/shell/frmvardecks.h"
    decls = members(class_body(read(header), "frmVardecks"))
    pub = [(s, b) for a, s, b in decls if a in ("public", "public slots", "signals")]
    pub_funcs = [s for s, _ in pub if is_function(s)]
    pub_data = [data_name(s) for s, _ in pub if not is_function(s) and data_name(s)]
    print(f"frmVardecks public data members: {len(pub_data)}")
    if LIST:
        print("  " + ", ".join(pub_data))
    print(f"frmVardecks public functions: {len(pub_funcs)}")

    src = sources("src")
    includers = [p for p in src if p != header and re.search(r'#include\s+"shell/frmvardecks\.h"',
                                                            open(os.path.join(TOP, p), encoding="utf-8").read())]
    print(f"files that include shell/frmvardecks.h: {len(includers)} in src, "
          + str(sum(1 for p in sources("tests") if 'shell/frmvardecks.h"' in open(os.path.join(TOP, p),
                                                                                    encoding="utf-8").read()))
          + " in tests")

    # The window's controls: the widgets the main window kept as public members when
    # the program was first put together. Each is now kept as a member by one class (the
    # one whose code makes it under its name); a file that defines none of that class's
    # functions and names the control, or calls one of the class's accessors that hand
    # the control out, reaches a control it does not own. A dialog's own control of the
    # same name (frmDuplicates' listVD) is its own.
    def own_dialog(path):
        base = os.path.basename(path)
        return base.startswith("frm") and not base.startswith("frmvardecks")

    src = tuple(src)
    keepers = control_keepers(src, own_dialog)
    outside = defaultdict(lambda: defaultdict(int))
    for name in WINDOW_CONTROLS:
        cls, member = keepers.get(name, ("frmVardecks", name))
        owned = class_files(src, cls)
        named = re.compile(r"(?:\.|->)\s*(?:m_)?" + name + r"\b")
        accessors = handouts(src, cls, member)
        for p in src:
            if p in owned or own_dialog(p):
                continue
            text = read(p)
            n = len(named.findall(text))
            if accessors:
                n += len(accessor_calls(p, cls, accessors).findall(text))
            if n:
                outside[name][p] += n
    used_out = {n: f for n, f in outside.items() if f}
    places = sum(sum(f.values()) for f in used_out.values())
    print(f"window controls: {len(WINDOW_CONTROLS)}; named outside the class that keeps them: {len(used_out)}"
          f" (in {len(set().union(*used_out.values())) if used_out else 0} files, {places} places)")
    if LIST:
        for n in sorted(used_out):
            cls = keepers.get(n, ("frmVardecks", n))[0]
            files = ", ".join(f"{p} {k}" for p, k in sorted(used_out[n].items()))
            print(f"  {n} ({cls}): {files}")

    # One-statement inline setters of the window and of the state it shares.
    setters = set()
    for path, cls in ((header, "frmVardecks"), ("src/shell/windowstate.h", "PopupState"),
                      ("src/shell/windowstate.h", "DragState")):
        for access, stmt, body in members(class_body(read(path), cls)):
            b = body.strip()
            if access.startswith("public") and is_function(stmt) and not stmt.rstrip().endswith("const") \
                    and b and b.count(";") <= 2 and "return" not in b and re.search(r"\bm_\w+(\[[^\]]*\])?\s*(=|\.clear)", b):
                m = re.search(r"(\w+)\s*\(", stmt)
                if m:
                    setters.add(m.group(1))
    calls, files = 0, set()
    for p in src:
        if p.startswith("src/shell/"):
            continue
        n = len(re.findall(r"(?:\.|->)\s*(?:" + "|".join(sorted(setters)) + r")\s*\(", read(p))) if setters else 0
        if n:
            calls += n
            files.add(p)
    print(f"one-line state setters: {len(setters)}; called {calls} times from {len(files)} files outside src/shell")
    if LIST:
        print("  " + ", ".join(sorted(setters)))

    col_re = re.compile(r"(?:->|\.)\s*(setText|text|setIcon|icon|setData|data|setTextAlignment|textAlignment|setFont|font"
                        r"|setToolTip|toolTip|setForeground|foreground|setBackground|setColumnWidth|columnWidth"
                        r"|sortItems|sortByColumn|resizeColumnToContents|setColumnHidden|isColumnHidden"
                        r"|setSortIndicator|resizeSection|sectionSize)\s*\(\s*\d+\s*[,)]")
    arr_re = re.compile(r"std::array\s*<\s*int\s*,\s*\d+\s*>")
    bare = defaultdict(int)
    for p in src:
        t = read(p)
        k = len(col_re.findall(t)) + len(arr_re.findall(t))
        if k:
            bare[p] = k
    print(f"bare column numbers: {sum(bare.values())} in {len(bare)} files")
    if LIST:
        for p in sorted(bare):
            print(f"  {p}: {bare[p]}")

    cap_re = re.compile(r"(?:text|currentText|caption|title)\s*\(\s*\)\s*[!=]=|[!=]=\s*[\w.>\-]*\b(?:text|currentText)\s*\(\s*\)")
    caps = {p: len(cap_re.findall(read(p))) for p in src if cap_re.search(read(p))}
    print(f"comparisons with a control's text: {sum(caps.values())} in {len(caps)} files")
    if LIST:
        for p in sorted(caps):
            print(f"  {p}: {caps[p]}")

    # Identities kept as text in the window code: a value compared with a string literal
    # (a caption, a drag kind, a list's name), by == or != or by sameText.
    lit_re = re.compile(r'(?:[!=]=\s*(?:QLatin1String|QStringLiteral|QLatin1StringView|QString)\s*\(\s*""\s*\))'
                        r'|(?:\bsameText\s*\([^;]*?(?:QLatin1String|QStringLiteral)\s*\(\s*""\s*\))')
    window_code = [p for p in src if p.startswith(("src/shell/", "src/explorer/", "src/app/")) or "/ui/" in p]
    lits = {p: len(lit_re.findall(read(p))) for p in window_code if lit_re.search(read(p))}
    print(f"comparisons with string literals in window code: {sum(lits.values())} in {len(lits)} files")
    if LIST:
        for p in sorted(lits):
            print(f"  {p}: {lits[p]}")

    num_re = re.compile(r"\b(cmdEdit|chkOpt|chkOptt|chkSearch|cmdSearchHome|cmdPreview|cmdWeb)\s*\(\s*\w+\s*\)")
    nums = {p: len(num_re.findall(read(p))) for p in src if num_re.search(read(p))}
    print(f"numbered accessor calls: {sum(nums.values())} in {len(nums)} files")


if __name__ == "__main__":
    main()
