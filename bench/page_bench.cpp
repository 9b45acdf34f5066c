// The preview page of a disc (skincheck --html): the time to check the folder and write the page,
// beside the time of the check alone in the same run, and the page's weight, each printed with
// its target. Times are wall clock and the processor time of this process, which other programs
// on a busy machine do not lengthen; the target is judged on the latter.
// Usage: page_bench FOLDER OUT [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Page.h"
#include "SkinCheck.h"

namespace {

namespace fs = std::filesystem;

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: page_bench FOLDER OUT [RUNS]\n";
    return 2;
  }
  const fs::path folder = argv[1];
  const fs::path out = argv[2];
  const int runs = argc > 3 ? std::max(1, std::stoi(argv[3])) : 11;
  std::vector<double> page;
  std::vector<double> check;
  std::vector<double> pageCpu;
  std::vector<double> checkCpu;
  auto cpu = [] { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; };
  // In turns, so that both see the same load.
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    double startCpu = cpu();
    const skincheck::Result checked = skincheck::CheckFolder(folder, false);
    check.push_back(Seconds(std::chrono::steady_clock::now() - start));
    checkCpu.push_back(cpu() - startCpu);

    fs::remove_all(out);
    start = std::chrono::steady_clock::now();
    startCpu = cpu();
    const skincheck::Result result = skincheck::CheckFolder(folder, false);
    std::ostringstream err;
    if (!skincheck::WritePage(out, skincheck::BuildPage(folder, result), err)) {
      std::cerr << err.str();
      return 1;
    }
    page.push_back(Seconds(std::chrono::steady_clock::now() - start));
    pageCpu.push_back(cpu() - startCpu);
  }
  std::uintmax_t bytes = 0;
  int files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(out)) {
    bytes += entry.file_size();
    ++files;
  }
  const double pageSeconds = Median(pageCpu);
  std::printf("Page of %s, median of %d runs each, in turns:\n", folder.string().c_str(), runs);
  std::printf("  check alone                 %8.3f s processor, %.3f s wall\n", Median(checkCpu),
              Median(check));
  std::printf(
      "  check and page written      %8.3f s processor, %.3f s wall (%.1f x the check; "
      "target: under 1 s, %s)\n",
      pageSeconds, Median(page), pageSeconds / Median(checkCpu),
      pageSeconds < 1.0 ? "met" : "NOT met");
  std::printf("  fastest, slowest page       %8.3f s, %.3f s processor\n",
              *std::min_element(pageCpu.begin(), pageCpu.end()),
              *std::max_element(pageCpu.begin(), pageCpu.end()));
  std::printf("  page weight                 %8.2f MB in %d files (target: under 3 MB, %s)\n",
              static_cast<double>(bytes) / 1e6, files, bytes < 3000000 ? "met" : "NOT met");
  return 0;
}
