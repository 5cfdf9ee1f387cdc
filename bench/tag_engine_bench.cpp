// The validator and the tag reader over a page of megabytes with thousands of AREA tags.

#include "core/code/html_validator.h"
#include "core/formats/tag_reader.h"

#include <benchmark/benchmark.h>

namespace {

using namespace karvex;

std::string AreaTag(int i)
{
    const std::string x = std::to_string(i % 500);
    return "<AREA SHAPE=\"RECT\" COORDS=\"" + x + ",10," + x + ",40\" HREF=\"page"
        + std::to_string(i) + ".html\" ALT=\"Area " + std::to_string(i) + "\" TARGET=\"_blank\">";
}

std::string Page(int areas)
{
    std::string page = "<HTML><BODY><IMG SRC=\"map.gif\" USEMAP=\"#m\">\r\n<MAP NAME=\"m\">\r\n";
    for (int i = 0; i < areas; ++i)
        page += AreaTag(i) + "\r\n";
    return page + "</MAP></BODY></HTML>\r\n";
}

void BM_ValidatePage(benchmark::State& state)
{
    const std::string page = Page(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        HtmlValidator validator;
        validator.InsertCode(page);
        benchmark::DoNotOptimize(validator.ErrorFound());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ValidatePage)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ParseAreaTags(benchmark::State& state)
{
    std::vector<std::string> tags;
    tags.reserve(10000);
    for (int i = 0; i < 10000; ++i)
        tags.push_back(AreaTag(i));
    for (auto _ : state) {
        for (const auto& tag : tags)
            benchmark::DoNotOptimize(GetAttribute(ParseTag(tag), "HREF", ""));
    }
}
BENCHMARK(BM_ParseAreaTags)->Unit(benchmark::kMillisecond);

void BM_ReplaceTag(benchmark::State& state)
{
    HtmlValidator validator;
    const std::string tag = AreaTag(42);
    for (auto _ : state)
        benchmark::DoNotOptimize(validator.ReplaceTag("HREF", "other.html", tag));
}
BENCHMARK(BM_ReplaceTag);

} // namespace
