// netglobe_json_memory: the peak memory of reading one JSON status document
// of 10000 clients (or the size given), per layout, as a multiple of the
// document's size. Two measures: the most heap bytes held at once (every
// allocation counted, whether its pages are ever touched or not), and the
// growth of the process's peak resident set (what the machine gives).

#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>

#include "bench_support.h"
#include "feed/json_status.h"
#include "snapshot.h"

namespace {

std::atomic<long long> live{0};
std::atomic<long long> peak{0};

void* counted(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  const long long now = live += static_cast<long long>(malloc_usable_size(p));
  for (long long seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
  }
  return p;
}

void uncounted(void* p) {
  if (!p) return;
  live -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}

// The kernel's peak resident set of this process, in bytes.
long long residentpeak() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atoll(line.c_str() + 6) * 1024;
  }
  return -1;
}
long long resident() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atoll(line.c_str() + 6) * 1024;
  }
  return -1;
}

}  // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return counted(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { uncounted(p); }

int main(int argc, char** argv) {
  const int clients = argc > 1 ? std::atoi(argv[1]) : 10000;
  for (const auto& [name, layout] : {std::pair{"A", netsim::Layout::A}, std::pair{"B", netsim::Layout::B}}) {
    netsim::SnapshotOptions options;
    options.layout = layout;
    std::string doc = netsim::snapshot(netbench::network(clients), netbench::kTime, options);
    doc.reserve(doc.size() + 64);  // the reader's padding, so that it needs no copy
    malloc_trim(0);
    // Resets the peak resident set to the present one.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long long rssbefore = resident();
    const long long heapbefore = live;
    peak = heapbefore;
    long long heappeak = 0, rsspeak = 0;
    std::size_t text = 0;
    {
      const netglobe::JsonStatus status = netglobe::readjsonstatus(doc);
      if (!status.ok) {
        std::fprintf(stderr, "layout %s: %s\n", name, status.failure.c_str());
        return 1;
      }
      text = status.text.size();
      heappeak = peak - heapbefore;
      rsspeak = residentpeak() - rssbefore;
    }
    const double size = static_cast<double>(doc.size());
    std::printf("layout %s, %d clients: document %.2f MB, text %.2f MB; peak heap %.2f MB (%.2fx), "
                "peak resident growth %.2f MB (%.2fx)\n",
                name, clients, size / 1e6, static_cast<double>(text) / 1e6, static_cast<double>(heappeak) / 1e6,
                static_cast<double>(heappeak) / size, static_cast<double>(rsspeak) / 1e6,
                static_cast<double>(rsspeak) / size);
    doc = std::string();
  }
  return 0;
}
