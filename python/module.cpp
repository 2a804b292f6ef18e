// The Python module tarnel: search(**keywords) -> Result, series(name),
// read_stock(path). It converts and forwards; every rule is the library's.

#include "request/summary_text.h"
#include "results.h"
#include "search_keywords.h"
#include "tarnel_version.h"
#include "text/quoted_text.h"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <future>
#include <stop_token>

namespace py = pybind11;

namespace tarnel::python {

namespace {

const NumberText periodNumbers(".");

// How often a search waiting on the main thread looks for Ctrl+C.
constexpr std::chrono::milliseconds signalPoll{20};

// The search on a thread of its own while the caller, without the
// interpreter, waits; signal handlers run only on the main thread, so the
// caller looks for them now and then and stops the search on one.
SearchResult searchInterruptibly(const SearchParams& request)
{
    std::stop_source stop;
    const SearchControl control{stop.get_token(), {}};
    const py::gil_scoped_release released;
    std::future<SearchResult> searching =
        std::async(std::launch::async, [&] { return tarnel::search(request, control, periodNumbers); });
    while (searching.wait_for(signalPoll) != std::future_status::ready) {
        const py::gil_scoped_acquire held;
        if (PyErr_CheckSignals() != 0) {
            stop.request_stop();
            const py::error_already_set raised;
            {
                const py::gil_scoped_release again;
                searching.wait();
            }
            throw raised;
        }
    }
    return searching.get();
}

struct ResultItem {
    std::shared_ptr<const HeldResult> held;

    [[nodiscard]] std::size_t size() const { return held->result.size(); }
};

struct DividerItem {
    std::shared_ptr<const HeldResult> held;
    std::size_t line;

    [[nodiscard]] std::string text() const { return held->result.list.line(line); }
    [[nodiscard]] py::dict dict() const
    {
        const ResultRow row = held->row(line);
        py::dict out;
        for (std::size_t c = 0; c < row.size(); ++c)
            out[py::str(std::string(resultColumns[c]))] = held->object(row[c]);
        return out;
    }
};

struct ResultIterator {
    std::shared_ptr<const HeldResult> held;
    std::size_t next = 0;
};

DividerItem dividerAt(const ResultItem& result, std::ptrdiff_t index)
{
    const auto size = static_cast<std::ptrdiff_t>(result.size());
    if (index < -size || index >= size)
        throw py::index_error("result index out of range");
    return {result.held, static_cast<std::size_t>(index < 0 ? index + size : index)};
}

ResultItem search(const py::args& positional, const py::kwargs& keywords)
{
    if (!positional.empty())
        throw py::type_error("search() takes keyword arguments only");
    const SearchParams request = readSearchKeywords(keywords);
    return {std::make_shared<const HeldResult>(searchInterruptibly(request))};
}

std::string searchDoc()
{
    std::string doc = "Searches the dividers as tarnel-cli does, with its options as keywords ('_' for '-'),\n"
                      "each read as the command line reads it: numbers as numbers or as texts (\"4k7\", "
                      "\"240R\"),\npercentages in percent, resistances in kilo-ohms. A keyword not given, "
                      "or None, keeps the\ntool's default.\n\nKeywords:\n";
    for (const Keyword& keyword : searchKeywords())
        doc += "  " + keyword.name + ": " + keyword.help + "\n";
    doc += "\nRaises ValueError with the command line's message, the option named by its keyword\n"
           "('uin: \"x\" is not a number in the range 0.001 to 9100000'), OSError when a stock file\n"
           "cannot be read, KeyboardInterrupt on Ctrl+C. The interpreter is free while it searches.";
    return doc;
}

py::tuple readStock(const py::object& path)
{
    const std::string name = py::module_::import("os").attr("fsdecode")(path).cast<std::string>();
    const StockReading stock = readStockFile(name, NumberText(".", NumberText::Period::AlsoAccepted));
    if (!stock.values) {
        if (stock.fileUnread)
            raiseUnread("read_stock", name, stock);
        throw py::value_error("read_stock: " + quoted(name) + ": " + stock.problem);
    }
    const auto values = stock.values->values();
    return py::make_tuple(std::vector<double>(values.begin(), values.end()), stock.values->outsideRange());
}

} // namespace

void defineModule(py::module_& m)
{
    m.doc() = "Tarnel's search for resistive voltage dividers from standard resistor values or a stock list.\n\n"
              "    >>> import tarnel\n"
              "    >>> result = tarnel.search(uin=12, uout=3.3, tol=1, series=\"E96\", order=\"best\")\n"
              "    >>> print(result[0], result[0].output_v)\n\n"
              "search() takes tarnel-cli's options as keywords; see help(tarnel.search).";
    m.attr("__version__") = tarnelVersion;
    py::tuple columns(resultColumns.size());
    for (std::size_t c = 0; c < resultColumns.size(); ++c)
        columns[c] = py::str(std::string(resultColumns[c]));
    m.attr("columns") = columns;
    py::list keywords;
    for (const Keyword& keyword : searchKeywords())
        keywords.append(py::make_tuple(keyword.name, keyword.type, keyword.help));
    m.attr("_keywords") = keywords;

    py::register_exception<RequestError>(m, "RequestError", PyExc_ValueError);

    py::class_<DividerItem> divider(m, "Divider", "One listed divider: str() is its result line, and each csv column "
                                              "is an attribute (None where the csv has nothing).");
    for (std::size_t c = 0; c < resultColumns.size(); ++c)
        divider.def_property_readonly(std::string(resultColumns[c]).c_str(),
                                      [c](const DividerItem& d) { return d.held->object(d.held->row(d.line)[c]); });
    divider.def("__str__", &DividerItem::text)
        .def("__repr__", [](const DividerItem& d) { return "<tarnel.Divider " + py::repr(py::str(d.text())).cast<std::string>() + ">"; })
        .def("to_dict", &DividerItem::dict, "The csv's columns and this divider's cells, in order.");

    py::class_<ResultIterator>(m, "_ResultIterator")
        .def("__iter__", [](ResultIterator& it) -> ResultIterator& { return it; })
        .def("__next__", [](ResultIterator& it) -> DividerItem {
            if (it.next == it.held->result.size())
                throw py::stop_iteration();
            return DividerItem{it.held, it.next++};
        });

    py::class_<ResultItem>(m, "Result", "The listed dividers of a search, in order, and its summary.")
        .def("__len__", &ResultItem::size)
        .def("__getitem__", &dividerAt)
        .def("__getitem__", [](const ResultItem& r, const py::slice& slice) {
            std::size_t start = 0, stop = 0, step = 0, length = 0;
            if (!slice.compute(r.size(), &start, &stop, &step, &length))
                throw py::error_already_set();
            py::list out;
            for (std::size_t i = 0; i < length; ++i, start += step)
                out.append(DividerItem{r.held, start});
            return out;
        })
        .def("__iter__", [](const ResultItem& r) { return ResultIterator{r.held}; })
        .def("__repr__", [](const ResultItem& r) {
            return "<tarnel.Result " + std::to_string(r.size()) + " of " + std::to_string(r.held->result.summary.found) + " dividers>";
        })
        .def_property_readonly("count", [](const ResultItem& r) { return r.held->result.summary.found; },
                               "How many dividers met the bounds.")
        .def_property_readonly("shown", [](const ResultItem& r) { return r.held->result.summary.shown; },
                               "How many are listed.")
        .def_property_readonly("summary", [](const ResultItem& r) -> py::object {
            const RunSummary& summary = r.held->result.summary;
            if (!summary.tellsMore())
                return py::none();
            return py::str(summaryText(summary, periodNumbers, true));
        }, "The summary tarnel-cli prints on stderr, or None where it prints none.")
        .def_property_readonly("why_none", [](const ResultItem& r) -> py::object {
            const std::string reason = whyNoneText(r.held->result.summary, periodNumbers, true);
            if (reason.empty())
                return py::none();
            return py::str(reason);
        }, "Why no divider was found, or None.")
        .def("to_csv", [](const ResultItem& r, const py::object& target) { writeResult(*r.held, OutputFormat::Csv, target); },
             py::arg("path_or_file"), "Writes the dividers as tarnel-cli --format csv does.")
        .def("to_json", [](const ResultItem& r, const py::object& target) { writeResult(*r.held, OutputFormat::Json, target); },
             py::arg("path_or_file"), "Writes the dividers as tarnel-cli --format json does.")
        .def("to_numpy", [](const ResultItem& r) { return numpyTable(*r.held); },
             "Every listed divider as a row of a numpy structured array, a field a csv column: floats\n"
             "(NaN where the csv has nothing) and texts. Imports numpy.");

    m.def("search", &search, searchDoc().c_str());
    m.def("series", [](const std::string& name) {
        try {
            const auto values = seriesValues(std::string_view(name))->values();
            return std::vector<double>(values.begin(), values.end());
        } catch (const RequestError& error) {
            throw py::value_error(std::string("series: ") + error.what());
        }
    }, py::arg("name"), "The values of a series (E3 to E192, capitals or not) over its ten decades, in kilo-ohms.");
    m.def("read_stock", &readStock, py::arg("path"),
          "Reads a stock file as the programs do: (values in kilo-ohms, ascending, each once;\n"
          "how many values lie outside the range and are not tried). Raises ValueError naming the line\n"
          "that is no resistor value, OSError when the file cannot be read.");
}

} // namespace tarnel::python

PYBIND11_MODULE(tarnel, m)
{
    tarnel::python::defineModule(m);
}
