// Reading and writing large XML files, against libxml2's xmllint --noout
// reading the same file in the same iteration.
//
// - ParseAndWrite/MB: read the file into nodes (loadXmlDocument) and write
//   them back into memory; the xmllint process is timed around the same file
//   and reported as counters, with ours/xmllint as "ratio" (time per byte).
// - UnclosedParse/MB: a file whose paragraphs never close, so that every
//   element is Unclosed and hands its content to the document; xmllint
//   rejects such a file, so only our own time is reported.
// Linearity shows as a steady MB/s across 1, 4 and 10 MB.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/value/xml_file.h"
#include "framework/value/xml_node.h"
#include "model/memory_stream.h"

using namespace penwick;
namespace fs = std::filesystem;

namespace {

// A document shaped like a MIME database: nested elements, attributes,
// translated text with entities and UTF-8, comments.
std::string wellFormedXml(size_t bytes) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<mime-info>\n";
    for (int i = 0; xml.size() < bytes; ++i) {
        xml += "  <mime-type type=\"application/x-kind-" + std::to_string(i) + "\">\n";
        xml += "    <!-- entry " + std::to_string(i) + " -->\n";
        xml += "    <comment>Document &amp; data kind " + std::to_string(i) + "</comment>\n";
        xml +=
            "    <comment xml:lang=\"fr\">Donn\xC3\xA9"
            "es &lt;" +
            std::to_string(i) + "&gt; \xE2\x80\x94 caf\xC3\xA9</comment>\n";
        xml += "    <glob pattern=\"*.k" + std::to_string(i) + "\" weight='50'/>\n";
        xml += "    <magic priority=\"50\"><match offset=\"0\" type=\"string\" value=\"K" +
               std::to_string(i) + "\"/></magic>\n";
        xml += "  </mime-type>\n";
    }
    return xml + "</mime-info>\n";
}

std::string unclosedXml(size_t bytes) {
    std::string xml = "<doc>\n";
    for (int i = 0; xml.size() < bytes; ++i) {
        xml += "<p class=\"c" + std::to_string(i % 7) + "\">Paragraph " + std::to_string(i) +
               " &amp; more text<br>\n";
    }
    return xml + "</doc>\n";
}

std::string fileFor(const std::string& kind, size_t megabytes, std::string (*make)(size_t)) {
    fs::path path = fs::temp_directory_path() /
                    ("penwick-xml-bench-" + kind + "-" + std::to_string(megabytes) + "mb.xml");
    if (!fs::exists(path)) {
        std::ofstream out(path, std::ios::binary);
        std::string text = make(megabytes << 20);
        out.write(text.data(), std::streamsize(text.size()));
    }
    return path.string();
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Reads and writes the file once; the seconds it took.
double parseAndWrite(const std::string& path) {
    auto start = std::chrono::steady_clock::now();
    XmlElement document("");
    if (!loadXmlDocument(path, document)) std::abort();
    MemoryStream out;
    XmlOutput writer(out);
    for (const XmlNodeRef& node : document.children())
        node->writeInto(writer);
    if (!writer.flush()) std::abort();
    benchmark::DoNotOptimize(out.data());
    return seconds(std::chrono::steady_clock::now() - start);
}

void ParseAndWrite(benchmark::State& state) {
    std::string path = fileFor("mime", size_t(state.range(0)), wellFormedXml);
    auto bytes = int64_t(fs::file_size(path));
    std::string command = "xmllint --noout '" + path + "'";
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        double t = parseAndWrite(path);
        state.SetIterationTime(t);
        ours += t;
        auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) state.SkipWithError("xmllint failed");
        theirs += seconds(std::chrono::steady_clock::now() - start);
    }
    double n = double(state.iterations());
    state.SetBytesProcessed(bytes * state.iterations());
    state.counters["ours_MBps"] = double(bytes) / (1 << 20) / (ours / n);
    state.counters["xmllint_MBps"] = double(bytes) / (1 << 20) / (theirs / n);
    state.counters["ratio"] = ours / theirs;
}

void UnclosedParse(benchmark::State& state) {
    std::string path = fileFor("unclosed", size_t(state.range(0)), unclosedXml);
    auto bytes = int64_t(fs::file_size(path));
    for (auto _ : state)
        state.SetIterationTime(parseAndWrite(path));
    state.SetBytesProcessed(bytes * state.iterations());
}

}  // namespace

BENCHMARK(ParseAndWrite)->Arg(1)->Arg(4)->Arg(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(UnclosedParse)->Arg(1)->Arg(4)->Arg(10)->UseManualTime()->Unit(benchmark::kMillisecond);
