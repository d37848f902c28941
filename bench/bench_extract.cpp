// How the payload extraction compares with the bare tools:
//  1. a zlib payload of about 23 MB compressed through the setup's extraction (progress
//     handler included) against a bare zlib inflate of the same stream to a file;
//  2. the heap at its peak while a 1 MB and a 64 MB payload are unpacked;
//  3. the 425-entry server archive through our ZIP reader against `unzip -o -q`.
// The ratios are printed at the end.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <zlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/versionen.h"
#include "install/payload.h"
#include "platform/sim/sim_machine.h"
#include "wizard/install_unit50.h"

// ---------------------------------------------------------------- heap accounting
// Every allocation of this program goes through here, so the peak of live heap bytes
// during an extraction can be read off.
extern "C" void* __libc_malloc(size_t);
extern "C" void __libc_free(void*);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
namespace {
std::atomic<long long> liveBytes{0}, peakBytes{0};
void count(long long delta) {
    long long now = liveBytes += delta;
    long long peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
}
}  // namespace
extern "C" void* malloc(size_t n) {
    void* p = __libc_malloc(n);
    if (p) count((long long)malloc_usable_size(p));
    return p;
}
extern "C" void free(void* p) {
    if (p) count(-(long long)malloc_usable_size(p));
    __libc_free(p);
}
extern "C" void* calloc(size_t a, size_t b) {
    void* p = __libc_calloc(a, b);
    if (p) count((long long)malloc_usable_size(p));
    return p;
}
extern "C" void* realloc(void* old, size_t n) {
    long long before = old ? (long long)malloc_usable_size(old) : 0;
    void* p = __libc_realloc(old, n);
    if (p) count((long long)malloc_usable_size(p) - before);
    else if (n == 0) count(-before);
    return p;
}

namespace {

using namespace qm;

std::vector<uint8_t> compress9(const std::vector<uint8_t>& data) {
    uLongf n = compressBound(uLong(data.size()));
    std::vector<uint8_t> out(n);
    if (compress2(out.data(), &n, data.data(), uLong(data.size()), 9) != Z_OK) std::abort();
    out.resize(n);
    return out;
}

// Program-like data: random stretches between runs of text, so that about 23 MB of
// compressed stream come out of `plainSize` bytes.
std::vector<uint8_t> payloadData(size_t plainSize, double randomShare, unsigned seed) {
    std::mt19937 rnd(seed);
    std::vector<uint8_t> d;
    d.reserve(plainSize);
    const std::string text = "Quillmark Abrechnung Privatliquidation Datenbank Firebird Server ";
    while (d.size() < plainSize) {
        const size_t block = std::min<size_t>(4096, plainSize - d.size());
        if (std::uniform_real_distribution<>(0, 1)(rnd) < randomShare) {
            for (size_t i = 0; i < block; ++i) d.push_back(uint8_t(rnd()));
        } else {
            for (size_t i = 0; i < block; ++i) d.push_back(uint8_t(text[(i + d.size()) % text.size()]));
        }
    }
    return d;
}

struct Payloads {
    std::vector<uint8_t> big, mb1, mb64;
    Payloads() {
        big = compress9(payloadData(48u << 20, 0.47, 1));
        mb1 = compress9(payloadData(1u << 20, 1.0, 2));
        mb64 = compress9(payloadData(64u << 20, 1.0, 3));
    }
};
Payloads& payloads() {
    static Payloads p;
    return p;
}

// The setup's own extractRessource on a window of the simulated machine, with its progress
// handler. The uninstaller's name keeps the uninstall log out of it.
struct Setup {
    sim::SimMachine m;
    std::unique_ptr<TfmInstall> fm;
    explicit Setup(const std::vector<uint8_t>& z) {
        Versionen::initialisiere(m.locale, m.user, m.ui, m.kernel);
        m.resources.add("QM_UNINST", "QUILLMARK", z);
        fm = std::make_unique<TfmInstall>(m.platform);
    }
    void extract() {
        fm->JvSpecialProgressQM.setPosition(0);
        fm->extractRessource("C:\\Quillmark50\\QM50Uninst.exe", "QUILLMARK", "QM_UNINST", 57);
    }
};

void bareInflate(const std::vector<uint8_t>& z, const std::string& path) {
    // zlib's own example loop: 16 KiB in, 16 KiB out, stdio.
    FILE* out = std::fopen(path.c_str(), "wb");
    z_stream s{};
    inflateInit(&s);
    unsigned char buf[16384];
    size_t pos = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        s.next_in = const_cast<Bytef*>(z.data() + pos);
        s.avail_in = uInt(std::min<size_t>(16384, z.size() - pos));
        pos += s.avail_in;
        do {
            s.next_out = buf;
            s.avail_out = sizeof(buf);
            rc = inflate(&s, Z_NO_FLUSH);
            if (rc < 0 && rc != Z_BUF_ERROR) std::abort();
            std::fwrite(buf, 1, sizeof(buf) - s.avail_out, out);
        } while (s.avail_out == 0);
    }
    inflateEnd(&s);
    std::fclose(out);
}

void BM_ExtractRessource(benchmark::State& st) {
    Setup s(payloads().big);
    for (auto _ : st) s.extract();
    st.counters["compressed_MB"] = double(payloads().big.size()) / 1e6;
}

void BM_BareInflate(benchmark::State& st) {
    sim::SimMachine m;  // the same kind of folder as the setup's target
    const std::string path = m.files.root() + "/bare.out";
    for (auto _ : st) bareInflate(payloads().big, path);
}

std::vector<uint8_t> serverArchive() {
    std::ifstream in(QM_BENCH_ARCHIVE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void BM_ServerArchiveOurs(benchmark::State& st) {
    const auto zip = serverArchive();
    sim::SimMachine m;
    m.files.makeDirectories("C:\\Quillmark50");
    for (auto _ : st) entpackeZipPayload(m.platform, {zip.data(), zip.size()}, "FBSERVER (FIREBIRD)", "C:\\Quillmark50", true);
}

void BM_ServerArchiveUnzip(benchmark::State& st) {
    sim::SimMachine m;
    const std::string dir = m.files.root() + "/unzip";
    std::filesystem::create_directories(dir);
    const std::string cmd = std::string("unzip -o -q '") + QM_BENCH_ARCHIVE + "' -d '" + dir + "'";
    for (auto _ : st)
        if (std::system(cmd.c_str()) != 0) st.SkipWithError("unzip failed");
}

BENCHMARK(BM_ExtractRessource)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_BareInflate)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ServerArchiveOurs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_ServerArchiveUnzip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// Keeps the real time of each benchmark for the ratios.
class Collect : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) times[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

long long peakDuring(const std::vector<uint8_t>& z) {
    Setup s(z);
    const long long before = liveBytes.load();
    peakBytes = before;
    s.extract();
    return peakBytes.load() - before;
}

double timeOf(const Collect& c, const std::string& prefix) {
    for (const auto& [name, t] : c.times)
        if (name.rfind(prefix, 0) == 0) return t;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    payloads();  // made once, outside every measurement
    Collect reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const long long peak1 = peakDuring(payloads().mb1), peak64 = peakDuring(payloads().mb64);
    std::printf("\nPeak heap while unpacking: %.1f KiB for %.1f MB, %.1f KiB for %.1f MB compressed\n",
                peak1 / 1024.0, payloads().mb1.size() / 1e6, peak64 / 1024.0, payloads().mb64.size() / 1e6);

    const double extract = timeOf(reporter, "BM_ExtractRessource"), bare = timeOf(reporter, "BM_BareInflate");
    const double ours = timeOf(reporter, "BM_ServerArchiveOurs"), unzip = timeOf(reporter, "BM_ServerArchiveUnzip");
    std::printf("\nRatios (goal in brackets)\n");
    std::printf("  extractRessource / bare zlib inflate:     %.3f  (<= 1.15)\n", bare > 0 ? extract / bare : 0.0);
    std::printf("  peak heap 64 MB / 1 MB payload:           %.3f  (growth %+.1f KiB, <= 1024 KiB)\n",
                peak1 > 0 ? double(peak64) / double(peak1) : 0.0, (peak64 - peak1) / 1024.0);
    std::printf("  server archive ours / unzip -o -q:        %.3f  (<= 1.3)\n", unzip > 0 ? ours / unzip : 0.0);
    benchmark::Shutdown();
    return 0;
}
