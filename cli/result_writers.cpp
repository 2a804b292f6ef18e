#include "result_writers.h"

#include "result_table.h"

#include "both_cores.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>

namespace tarnel::cli {

namespace {

// A period whatever the locale: the form scripts and other tools read.
const NumberText periodNumbers(".");

void write(std::ostream& out, std::string_view text)
{
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// The longest object: every name quoted, every cell a number or a word quoted.
constexpr std::size_t jsonObjectRoom = [] {
    std::size_t room = 2;
    for (const std::string_view column : resultColumns)
        room += column.size() + 4 + NumberText::plainTextRoom + 2;
    return room;
}();

void appendJsonObject(std::string& out, const ResultRow& row)
{
    // Built in one buffer and appended once: a run writes millions of objects.
    std::array<char, jsonObjectRoom> text;
    char* end = text.data();
    const auto put = [&](std::string_view piece) { end = std::copy(piece.begin(), piece.end(), end); };
    for (std::size_t i = 0; i < row.size(); ++i) {
        put(i == 0 ? "{\"" : ",\"");
        put(resultColumns[i]);
        put("\":");
        switch (row[i].kind) {
        case ResultCell::Kind::Number:
            end = periodNumbers.putPlain(end, row[i].number);
            break;
        case ResultCell::Kind::Written:
            put(row[i].text);
            break;
        case ResultCell::Kind::Word:
            put("\"");
            put(row[i].text);
            put("\"");
            break;
        case ResultCell::Kind::Nothing:
            put("null");
            break;
        }
    }
    put("}");
    out.append(text.data(), end);
}

// The lines go out in blocks formatted on both cores: each core takes the
// next block while a few are in hand, and this core writes them in order as
// they are done, so millions of lines never build one string.
// appendLine(out, index) appends one line and its newline.
template <class AppendLine>
void writeLines(std::size_t count, std::ostream& out, AppendLine appendLine)
{
    const std::size_t blocks = (count + blockLines - 1) / blockLines;
    constexpr std::size_t inHand = 4;
    // Each block's buffer on cache lines of its own, or each append would
    // pull the line from the other core.
    struct alignas(64) Slot {
        std::string text;
        bool formatted = false;
    };
    std::array<Slot, inHand> slots;
    std::mutex guard;
    std::condition_variable changed;
    std::size_t taken = 0;   // blocks a core has taken
    std::size_t written = 0; // blocks this core has written
    bool stopped = false;    // this core is done, or either failed
    // Formats the next block if its slot is free; false if there is none to take.
    const auto formatNext = [&](bool waitForRoom) {
        std::size_t block = 0;
        {
            std::unique_lock lock(guard);
            const auto mayTake = [&] { return stopped || taken == blocks || taken < written + inHand; };
            if (waitForRoom)
                changed.wait(lock, mayTake);
            if (stopped || taken == blocks || taken >= written + inHand)
                return false;
            block = taken++;
        }
        Slot& slot = slots[block % inHand];
        slot.text.clear();
        for (std::size_t i = block * blockLines; i < std::min(count, (block + 1) * blockLines); ++i)
            appendLine(slot.text, i);
        {
            const std::scoped_lock lock(guard);
            slot.formatted = true;
        }
        changed.notify_all();
        return true;
    };
    const auto stop = [&] {
        {
            const std::scoped_lock lock(guard);
            stopped = true;
        }
        changed.notify_all();
    };
    const auto helper = [&] {
        try {
            while (formatNext(true)) {
            }
        } catch (...) {
            stop();
            throw;
        }
    };
    const auto writer = [&] {
        // However this core leaves, the other takes no more.
        struct Stopping {
            decltype(stop)& stopNow;
            ~Stopping() { stopNow(); }
        } stopping{stop};
        for (std::size_t block = 0; block < blocks && out; ++block) {
            Slot& slot = slots[block % inHand];
            for (;;) {
                {
                    std::unique_lock lock(guard);
                    if (slot.formatted)
                        break;
                    if (stopped)
                        return; // the other core failed; its exception follows
                }
                // Formats a block itself while the one to write is not done.
                if (!formatNext(false)) {
                    std::unique_lock lock(guard);
                    changed.wait(lock, [&] { return slot.formatted || stopped; });
                    if (!slot.formatted)
                        return;
                    break;
                }
            }
            write(out, slot.text);
            {
                const std::scoped_lock lock(guard);
                slot.formatted = false;
                ++written;
            }
            changed.notify_all();
        }
    };
    if (blocks > 1)
        onBothCores(helper, writer);
    else
        writer();
}

void writeText(const ResultList& list, std::ostream& out)
{
    writeLines(list.size(), out, [&](std::string& buffer, std::size_t i) {
        list.appendLine(i, buffer);
        buffer.push_back('\n');
    });
}

// A run that searched holds result lines only: the one message line a run
// can add comes with a failed run, which prints no results.
void writeCsv(const ResultList& list, const SearchParams& params, std::ostream& out)
{
    std::string header;
    appendTableHeader(header, ',');
    write(out, header);
    const WrittenValues written(list.values(), periodNumbers);
    writeLines(list.size(), out, [&](std::string& buffer, std::size_t i) {
        appendTableRow(buffer, resultRow(list.divider(i), params, written), ',', periodNumbers);
    });
}

void writeJson(const ResultList& list, const SearchParams& params, std::ostream& out)
{
    write(out, "[");
    // Each object goes out behind the separator of the one before, so no
    // line has to know whether another follows.
    const WrittenValues written(list.values(), periodNumbers);
    writeLines(list.size(), out, [&](std::string& buffer, std::size_t i) {
        buffer.append(i == 0 ? "\n" : ",\n");
        appendJsonObject(buffer, resultRow(list.divider(i), params, written));
    });
    write(out, list.size() == 0 ? "]\n" : "\n]\n");
}

} // namespace

void writeResults(OutputFormat format, const ResultList& list, const SearchParams& params, std::ostream& out)
{
    switch (format) {
    case OutputFormat::Text:
        writeText(list, out);
        break;
    case OutputFormat::Csv:
        writeCsv(list, params, out);
        break;
    case OutputFormat::Json:
        writeJson(list, params, out);
        break;
    }
}

} // namespace tarnel::cli
