#pragma once
// The output of the database writer (platform/xmlwriter.cpp): the bytes of a
// document gathered in pieces of memory, each handed on whole, with the escapes of
// the XML library's compact output; and the thread that hands the pieces to the
// file writer beside the one that makes them.
#include <QtGlobal>
#include <libxml/xmlstring.h>

#include <array>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace rr::xmloutput
{

// Where the document's bytes go, in order: the file writer, or memory.
using Sink = std::function<bool(const char *, qsizetype)>;

// The bytes at which an escape (or the end of the text) interrupts a run of text.
constexpr std::array<bool, 256> stopsFor(bool attribute)
{
    std::array<bool, 256> stops{};
    stops[0] = stops['<'] = stops['>'] = stops['&'] = stops['\r'] = true;
    if (attribute)
        stops['"'] = stops['\n'] = stops['\t'] = true;
    return stops;
}
inline constexpr std::array<bool, 256> kContentStops = stopsFor(false);
inline constexpr std::array<bool, 256> kAttributeStops = stopsFor(true);

// What stands for c in the output, with its length.
struct Escape {
    const char *text;
    size_t size;
};
inline Escape escapeOf(xmlChar c)
{
    switch (c) {
    case '<':
        return {"&lt;", 4};
    case '>':
        return {"&gt;", 4};
    case '&':
        return {"&amp;", 5};
    case '\r':
        return {"&#13;", 5};
    case '"':
        return {"&quot;", 6};
    case '\n':
        return {"&#10;", 5};
    default:
        return {"&#9;", 4};
    }
}

// Copies a few bytes without a call: names and short texts are most of the copies.
inline void copyShort(char *to, const char *from, size_t size)
{
    if (size >= 8) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + size - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + size - 8, &tail, 8);
    } else if (size >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + size - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + size - 4, &tail, 4);
    } else if (size) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

// The lengths of the names met in one walk, by their address. The library's
// dictionary holds each name once, so a document of a million tags has a few dozen
// names, and strlen runs once for each instead of once for each tag. The tree does
// not change during a walk, so an address keeps its name.
class NameLengths
{
public:
    size_t of(const xmlChar *name)
    {
        const auto address = reinterpret_cast<std::uintptr_t>(name);
        // The dictionary packs names side by side: their low bits tell them apart.
        Entry &entry = m_entries[(address ^ (address >> 8)) % m_entries.size()];
        if (entry.name != name)
            entry = {name, std::strlen(reinterpret_cast<const char *>(name))};
        return entry.size;
    }

private:
    struct Entry {
        const xmlChar *name = nullptr;
        size_t size = 0;
    };
    std::array<Entry, 256> m_entries{};
};

// A piece of the output, handed on whole.
struct Piece {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
};

// Output gathered in pieces; each full piece goes to keep as it is, never copied.
class Output
{
public:
    using Keep = std::function<bool(Piece &&)>;
    explicit Output(Keep keep) : m_keep(std::move(keep)) { m_piece.bytes.reset(new char[kPiece]); }

    void put(const char *data, size_t size)
    {
        if (m_used + size > kPiece) [[unlikely]] {
            putPastThePiece(data, size);
            return;
        }
        char *to = m_piece.bytes.get() + m_used;
        m_used += size;
        if (size <= 16)
            copyShort(to, data, size);
        else
            std::memcpy(to, data, size);
    }
    // A text of the program: its length is known when the program is built.
    template <size_t N> void put(const char (&text)[N]) { put(text, N - 1); }
    void put(const xmlChar *text)
    {
        put(reinterpret_cast<const char *>(text), std::strlen(reinterpret_cast<const char *>(text)));
    }
    // A name between two texts of the program ("</", name, ">"), with one look at the
    // room left instead of three.
    template <size_t B, size_t A> void putNamed(const char (&before)[B], const xmlChar *name, const char (&after)[A])
    {
        const char *text = reinterpret_cast<const char *>(name);
        const size_t size = m_names.of(name);
        if (m_used + (B - 1) + size + (A - 1) > kPiece) [[unlikely]] {
            put(before);
            put(text, size);
            put(after);
            return;
        }
        char *to = m_piece.bytes.get() + m_used;
        std::memcpy(to, before, B - 1);
        if (size <= 16)
            copyShort(to + B - 1, text, size);
        else
            std::memcpy(to + B - 1, text, size);
        std::memcpy(to + B - 1 + size, after, A - 1);
        m_used += (B - 1) + size + (A - 1);
    }

    // Text with the escapes of the library's output: in content < > & and CR; in
    // attribute values also " and the blanks that value normalisation would change.
    void putEscaped(const xmlChar *text, bool attribute)
    {
        const bool *stops = attribute ? kAttributeStops.data() : kContentStops.data();
        const xmlChar *run = text;
        for (;;) {
            const xmlChar *p = run;
            while (!stops[*p])
                ++p;
            put(reinterpret_cast<const char *>(run), size_t(p - run));
            if (*p == 0)
                return;
            const Escape escape = escapeOf(*p);
            put(escape.text, escape.size);
            run = p + 1;
        }
    }

    // A comment and a processing instruction, as read (the parser has checked their text).
    void putComment(const xmlChar *content)
    {
        put("<!--");
        if (content)
            put(content);
        put("-->");
    }
    void putProcessingInstruction(const xmlChar *name, const xmlChar *content)
    {
        put("<?");
        put(name);
        if (content) {
            put(" ");
            put(content);
        }
        put("?>");
    }

    // Hands on what is gathered; false once keep has refused a piece.
    bool flush()
    {
        if (m_used && !m_failed) {
            m_piece.size = m_used;
            m_failed = !m_keep(std::move(m_piece));
            m_piece = Piece{std::unique_ptr<char[]>(new char[kPiece]), 0};
        }
        m_used = 0;
        return !m_failed;
    }

private:
    void putPastThePiece(const char *data, size_t size)
    {
        flush();
        if (size <= kPiece) {
            std::memcpy(m_piece.bytes.get(), data, size);
            m_used = size;
            return;
        }
        Piece whole{std::unique_ptr<char[]>(new char[size]), size};
        std::memcpy(whole.bytes.get(), data, size);
        m_failed = m_failed || !m_keep(std::move(whole));
    }

    static constexpr size_t kPiece = 256 * 1024;
    Keep m_keep;
    Piece m_piece;
    size_t m_used = 0;
    bool m_failed = false;
    NameLengths m_names;
};

// An output whose pieces go straight to the sink.
inline Output::Keep toSink(const Sink &sink)
{
    return [&sink](Piece &&piece) { return sink(piece.bytes.get(), qsizetype(piece.size)); };
}

// Hands the pieces of an output to the sink, in order, on a thread of its own: the
// copy of each piece into the file (the write calls) runs beside the making of the
// next ones. The output waits while a few pieces are queued, so no more than those
// are held.
class SinkThread
{
public:
    explicit SinkThread(const Sink &sink) : m_sink(sink), m_thread([this] { run(); }) {}
    ~SinkThread()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_ended = true;
            m_queue.clear(); // what is left of a save given up is not written
        }
        m_changed.notify_all();
        m_thread.join();
    }
    SinkThread(const SinkThread &) = delete;
    SinkThread &operator=(const SinkThread &) = delete;

    // Queues the piece; false once the sink has refused a piece.
    Output::Keep keep()
    {
        return [this](Piece &&piece) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return m_failed || m_queue.size() < kQueued; });
            if (m_failed)
                return false;
            m_queue.push_back(std::move(piece));
            lock.unlock();
            m_changed.notify_all();
            return true;
        };
    }

    // Waits until every queued piece is in the sink; false when it refused one.
    bool finish()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_failed || (m_queue.empty() && !m_writing); });
        return !m_failed;
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_ended || !m_queue.empty(); });
            if (m_ended)
                return;
            Piece piece = std::move(m_queue.front());
            m_queue.pop_front();
            m_writing = true;
            lock.unlock();
            const bool written = m_sink(piece.bytes.get(), qsizetype(piece.size));
            lock.lock();
            m_writing = false;
            m_failed = m_failed || !written;
            if (m_failed)
                m_queue.clear();
            m_changed.notify_all();
        }
    }

    static constexpr size_t kQueued = 3;
    const Sink &m_sink;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Piece> m_queue;
    bool m_writing = false;
    bool m_failed = false;
    bool m_ended = false;
    std::thread m_thread; // last: it starts once the rest is made
};

} // namespace rr::xmloutput
