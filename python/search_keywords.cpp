#include "search_keywords.h"

#include "request/option_words.h"
#include "request/search_input.h"
#include "search/divider.h"
#include "text/quoted_text.h"
#include "text/range_text.h"
#include "values/stock_file.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <utility>

namespace py = pybind11;

namespace tarnel::python {

namespace {

constexpr std::size_t noPosition = std::numeric_limits<std::size_t>::max();
const NumberText numbers(".", NumberText::Period::AlsoAccepted);
template <std::size_t n>
constexpr std::array<std::size_t, n> noPositions()
{
    std::array<std::size_t, n> positions{};
    positions.fill(noPosition);
    return positions;
}

// The special values fill the slots in the order given, as --exclude and --only do.
constexpr std::array<std::string_view, 2> specialKeywords{"exclude", "only"};

std::string keywordOf(std::string_view option)
{
    std::string name(option);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

[[noreturn]] void wrongType(const std::string& keyword, py::handle value, const std::string& taken)
{
    throw py::type_error(keyword + ": takes " + taken + ", not " +
                         py::str(py::type::of(value).attr("__name__")).cast<std::string>());
}

std::string shortest(double value)
{
    std::array<char, 32> text{};
    return {text.data(), std::to_chars(text.data(), text.data() + text.size(), value).ptr};
}

std::string wordText(const std::string& keyword, py::handle value)
{
    if (!py::isinstance<py::str>(value))
        wrongType(keyword, value, "a text");
    return value.cast<std::string>();
}

// Many values as one: a text, a number or a sequence of them, each held, as
// an iterator's items may live no longer than the step to the next.
std::vector<py::object> items(py::handle value)
{
    if (py::isinstance<py::str>(value) || !py::isinstance<py::iterable>(value))
        return {py::reinterpret_borrow<py::object>(value)};
    std::vector<py::object> out;
    for (const py::handle item : value)
        out.push_back(py::reinterpret_borrow<py::object>(item));
    return out;
}

struct Error {
    std::size_t position;
    std::string message;
};

// The keywords read into a SearchInput, and every fault found on the way.
class KeywordReader {
public:
    explicit KeywordReader(const py::kwargs& keywords)
    {
        std::size_t position = 0;
        for (const auto& [key, value] : keywords) {
            const std::string name = key.cast<std::string>();
            if (!value.is_none())
                take(name, value, position);
            ++position;
        }
    }

    SearchParams params()
    {
        const InputReading reading = readSearchParams(input_, numbers);
        for (const NumberField& field : numberFields)
            if (const FieldVerdict& verdict = reading.verdict(field.field); failed(verdict.status))
                fail(numberPositions_[static_cast<std::size_t>(field.field)],
                     keywordOf(field.option) + ": " + verdict.problem);
        for (std::size_t slot = 0; slot < specialSlotCount; ++slot)
            if (failed(reading.specialSlots[slot].status))
                fail(slotPositions_[slot], slotKeyword(slot) + ": " + reading.specialSlots[slot].problem);
        if (!reading.valuesFileProblem.empty())
            fail(valuesPosition_, "values: " + reading.valuesFileProblem);
        if (seriesPosition_ != noPosition && valuesPosition_ != noPosition)
            fail(std::max(seriesPosition_, valuesPosition_), "series and values exclude each other");
        if (!errors_.empty()) {
            std::stable_sort(errors_.begin(), errors_.end(),
                             [](const Error& a, const Error& b) { return a.position < b.position; });
            std::string message;
            for (const Error& error : errors_)
                message.append(message.empty() ? "" : "\n").append(error.message);
            throw py::value_error(message);
        }
        if (!reading.valid) // only a slot in none of its states, which no keyword makes
            throw std::logic_error(reading.listMessages.empty() ? "the search did not start"
                                                                : reading.listMessages.front());
        return reading.params;
    }

private:
    void fail(std::size_t position, std::string message) { errors_.push_back({position, std::move(message)}); }

    std::string slotKeyword(std::size_t slot) const
    {
        return std::string(specialKeywords[input_.specialSlots[slot].state == CheckState::Checked ? 1 : 0]);
    }

    void take(const std::string& name, py::handle value, std::size_t position)
    {
        for (const NumberField& field : numberFields)
            if (name == keywordOf(field.option)) {
                input_.text(field.field) = numberText(name, value);
                numberPositions_[static_cast<std::size_t>(field.field)] = position;
                return;
            }
        for (const ChoiceField& field : choiceFields)
            if (name == field.option) {
                std::vector<std::string_view> words;
                for (const Choice& choice : field.choices)
                    words.push_back(choice.word);
                const WordReading<std::size_t> word = readWord(wordText(name, value), words);
                if (word.value)
                    input_.choice(field.id) = *word.value;
                else
                    fail(position, name + ": " + word.problem);
                if (field.id == ChoiceId::Series)
                    seriesPosition_ = position;
                return;
            }
        if (name == "high" || name == "low")
            return shapes(name, value, position);
        if (name == "ratio") {
            const WordReading<bool> ratio = readRatio(wordText(name, value));
            if (ratio.value)
                input_.highOverLowOnly = *ratio.value;
            else
                fail(position, "ratio: " + ratio.problem);
            return;
        }
        if (name == "values")
            return values(value, position);
        if (name == specialKeywords[0] || name == specialKeywords[1])
            return special(name, value, position);
        throw py::type_error("search() got an unexpected keyword argument '" + name + "'");
    }

    void shapes(const std::string& name, py::handle value, std::size_t position)
    {
        std::string list;
        for (const py::object& word : items(value))
            list.append(list.empty() ? "" : ",").append(wordText(name, word));
        if (const WordReading<ArmShapes> shapes = readShapes(list); shapes.value)
            input_.shapes(name == "high") = *shapes.value;
        else
            fail(position, name + ": " + shapes.problem);
    }

    void special(const std::string& name, py::handle value, std::size_t position)
    {
        for (const py::object& item : items(value)) {
            std::string text = numberText(name, item);
            if (slotsTaken_ == specialSlotCount) {
                fail(position, name + ": " + quoted(text) + ": at most four exclude and only values together");
                return;
            }
            input_.specialSlots[slotsTaken_] = {name == "only" ? CheckState::Checked : CheckState::Unchecked,
                                                std::move(text)};
            slotPositions_[slotsTaken_++] = position;
        }
    }

    // A stock file's path, or the values themselves, each read as a line of one.
    void values(py::handle value, std::size_t position)
    {
        valuesPosition_ = position;
        StockReading stock;
        std::string source;
        if (py::isinstance<py::str>(value) || py::hasattr(value, "__fspath__")) {
            const std::string path = py::module_::import("os").attr("fsdecode")(value).cast<std::string>();
            source = quoted(path) + ": ";
            stock = readStockFile(path, numbers);
            if (stock.fileUnread)
                raiseUnread("values", path, stock);
        } else {
            std::string lines;
            for (const py::object& item : items(value))
                lines.append(numberText("values", item)).push_back('\n');
            stock = parseStock(lines, "the list", numbers);
        }
        if (stock.values)
            input_.values = stock.values;
        else
            fail(position, "values: " + source + stock.problem);
    }

    SearchInput input_;
    std::vector<Error> errors_;
    std::array<std::size_t, numberFields.size()> numberPositions_ = noPositions<numberFields.size()>();
    std::array<std::size_t, specialSlotCount> slotPositions_ = noPositions<specialSlotCount>();
    std::size_t slotsTaken_ = 0;
    std::size_t valuesPosition_ = noPosition;
    std::size_t seriesPosition_ = noPosition;
};

} // namespace

void raiseUnread(const std::string& keyword, const std::string& path, const StockReading& stock)
{
    const py::object error = stock.systemError != 0
                                 ? py::reinterpret_borrow<py::object>(PyExc_OSError)(stock.systemError,
                                                                                     keyword + ": " + stock.problem, path)
                                 : py::reinterpret_borrow<py::object>(PyExc_OSError)(keyword + ": " + quoted(path) +
                                                                                     ": " + stock.problem);
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
    throw py::error_already_set();
}

std::string numberText(const std::string& keyword, py::handle value)
{
    if (py::isinstance<py::str>(value))
        return value.cast<std::string>();
    if (PyBool_Check(value.ptr()))
        wrongType(keyword, value, "a number or a text");
    if (PyFloat_Check(value.ptr()))
        return shortest(PyFloat_AsDouble(value.ptr()));
    if (PyIndex_Check(value.ptr())) {
        const auto whole = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
        if (!whole)
            throw py::error_already_set();
        return py::str(whole).cast<std::string>();
    }
    if (PyNumber_Check(value.ptr()))
        return shortest(py::float_(py::reinterpret_borrow<py::object>(value)).cast<double>());
    wrongType(keyword, value, "a number or a text");
}

} // namespace tarnel::python

namespace tarnel::python {

std::vector<Keyword> searchKeywords()
{
    std::vector<Keyword> keywords;
    const std::string number = "float | int | str | None";
    for (const NumberField& f : numberFields)
        keywords.push_back({keywordOf(f.option), number,
                            std::string(f.help) + ", " + rangeText(f.range, numbers) +
                                (f.mayBeEmpty ? " (default none)" : " (default " + std::string(f.initialText) + ")")});
    for (const ChoiceField& f : choiceFields) {
        std::string words;
        for (const Choice& choice : f.choices)
            words.append(words.empty() ? "" : ", ").append(choice.word);
        keywords.push_back({std::string(f.option), "str | None",
                            std::string(f.help) + ": " + words + " (default " +
                                std::string(f.choices[f.initialChoice].word) + ")"});
    }
    const std::string shapes = "Iterable[str] | str | None";
    keywords.push_back({"values", "str | os.PathLike[str] | Iterable[float | int | str] | None",
                        "a stock file's path, or the values themselves in kilo-ohms or as parts are marked, "
                        "instead of the series"});
    keywords.push_back({"ratio", "str | None", "the ratio counted: 1+h/l, or h/l alone (default 1+h/l)"});
    const auto shapesWords = [](const ArmShapes& ticked) {
        std::string words;
        for (const ArmKind kind : armKinds)
            if (ticked.allows(kind))
                words.append(words.empty() ? "" : ", ").append(armWord(kind));
        return words;
    };
    keywords.push_back({"high", shapes, "shapes of the high arm: 1 (one resistor), ser (two in series), "
                                        "par (two in parallel); empty for none (default " +
                                            shapesWords(initialHighShapes) + ")"});
    keywords.push_back({"low", shapes, "shapes of the low arm, as high (default " + shapesWords(initialLowShapes) + ")"});
    const std::string values = "Iterable[float | int | str] | float | int | str | None";
    keywords.push_back({"exclude", values, "never use these resistor values"});
    keywords.push_back({"only", values, "use these values only, and list them; at most four exclude and only "
                                        "values together"});
    return keywords;
}

SearchParams readSearchKeywords(const py::kwargs& keywords)
{
    return KeywordReader(keywords).params();
}

} // namespace tarnel::python
