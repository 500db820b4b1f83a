// Throughput of the engine's hot paths: the substitution in both case
// modes on sparse and dense text, and the line model.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "replace_str.h"
#include "text_document.h"

namespace {

class QuietContext final : public korv::ReplaceContext {
public:
    explicit QuietContext(bool case_sensitive) : case_sensitive_(case_sensitive) {}
    bool CaseSensitive() override { return case_sensitive_; }
    void PumpEvents() override { ++pumps; }
    std::string CurrentFileName() override { return "bench.txt"; }
    void LogEvent(std::string_view) override {}
    long pumps = 0;

private:
    bool case_sensitive_;
};

// Text of CR LF lines of random words, with `find` put in every `every` bytes.
std::string MakeText(std::size_t size, const std::string& find, std::size_t every) {
    std::mt19937 random(42);
    const char* const words[] = {"lorem",      "ipsum", "dolor", "sit", "amet",    "consectetur",
                                 "adipiscing", "elit",  "sed",   "do",  "eiusmod", "tempor"};
    std::string text;
    text.reserve(size + 128);
    std::size_t next_find = every;
    std::size_t line = 0;
    while (text.size() < size) {
        text += words[random() % 12];
        text += ' ';
        if (++line % 10 == 0) {
            text += "\r\n";
        }
        if (text.size() >= next_find) {
            text += find;
            text += ' ';
            next_find += every;
        }
    }
    text += "\r\n";  // a last line with its break, as saved files have
    return text;
}

constexpr std::size_t kSize = 64 << 20;

void BM_ReplaceSparse(benchmark::State& state) {
    const bool case_sensitive = state.range(0) != 0;
    const std::string text = MakeText(kSize, "Needle", 1 << 20);
    QuietContext ctx(case_sensitive);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korv::ReplaceStr(ctx, text, "needle", "thread", false));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.SetLabel(case_sensitive ? "case sensitive" : "case folded");
}
BENCHMARK(BM_ReplaceSparse)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_ReplaceDense(benchmark::State& state) {
    const bool case_sensitive = state.range(0) != 0;
    const std::string text = MakeText(kSize, "needle", 100);
    QuietContext ctx(case_sensitive);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korv::ReplaceStr(ctx, text, "needle", "pincushion", false));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.SetLabel(case_sensitive ? "case sensitive" : "case folded");
}
BENCHMARK(BM_ReplaceDense)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The worst case for a filtering search: every position a near miss.
void BM_ReplacePathological(benchmark::State& state) {
    const std::string text(16 << 20, 'a');
    const std::string find = std::string(300, 'a') + "b" + std::string(300, 'a');
    QuietContext ctx(true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korv::ReplaceStr(ctx, text, find, "x", false));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReplacePathological)->Unit(benchmark::kMillisecond);

void BM_AssignText(benchmark::State& state) {
    std::string text = MakeText(kSize, "x", 1 << 30);
    if (state.range(0) == 0) {
        // Lone LF line breaks: every line must be rebuilt.
        std::string lf;
        for (char c : text) {
            if (c != '\r') {
                lf += c;
            }
        }
        text = std::move(lf);
    }
    korv::TextDocument document;
    for (auto _ : state) {
        document.AssignText(std::string(text));
        benchmark::DoNotOptimize(document.JoinedText().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.SetLabel(state.range(0) == 0 ? "LF lines" : "CR LF lines");
}
BENCHMARK(BM_AssignText)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Loading a file already in the page cache: a big CR LF file is used
// where it lies, an LF file is split and joined.
void BM_LoadFile(benchmark::State& state) {
    std::string text = MakeText(kSize, "x", 1 << 30);
    if (state.range(0) == 0) {
        std::erase(text, '\r');
    }
    char folder[] = "/tmp/korv-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string path = std::string(folder) + "/load.txt";
    std::ofstream(path, std::ios::binary) << text;
    korv::TextDocument document;
    for (auto _ : state) {
        document.LoadFile(path);
        benchmark::DoNotOptimize(document.JoinedText().data());
    }
    std::remove(path.c_str());
    ::rmdir(folder);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.SetLabel(state.range(0) == 0 ? "LF lines" : "CR LF lines");
}
BENCHMARK(BM_LoadFile)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
