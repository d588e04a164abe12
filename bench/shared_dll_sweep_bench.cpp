// How the shared-DLL sweep scales with the size of the SharedDLLs key: each
// size is seeded with a quarter of product entries among bystanders, swept
// in-process, and then removed again by "meridremover.exe /s" as a process.
// Each size runs three times after one warm-up of each kind; the fastest run
// is reported (wineserver's periodic save of a large registry stalls a run now
// and then), with the slowest beside it.
// Prints one line per size; exit code 1 when a sweep left a wrong result.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/product_constants.h"
#include "platform/unique_resource.h"
#include "remover/engine/product_places.h"
#include "remover/engine/registry_paths.h"
#include "remover/engine/shared_dll_sweep.h"

namespace {

using remover::kSharedDllsKey;
constexpr char kBystanderFolder[] = "C:\\Program Files\\Common Files\\" MERIDEL_MAKER "\\Meridel Tools";

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now;
}

std::string EntryName(const std::string& productFolder, DWORD i) {
    // Every fourth entry belongs to the product, the rest to a sibling folder.
    const std::string folder = (i % 4 == 0) ? productFolder : kBystanderFolder;
    return folder + "\\file" + std::to_string(i) + ".dll";
}

bool Seed(HKEY hive, const std::string& productFolder, DWORD count) {
    platform::UniqueKey key;
    if (::RegCreateKeyExA(hive, kSharedDllsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    const DWORD references = 1;
    for (DWORD i = 0; i < count; ++i)
        if (::RegSetValueExA(key.get(), EntryName(productFolder, i).c_str(), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&references), sizeof(references)) != ERROR_SUCCESS)
            return false;
    return true;
}

DWORD ValueCount(HKEY hive) {
    platform::UniqueKey key;
    DWORD values = 0;
    if (::RegOpenKeyExA(hive, kSharedDllsKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS)
        ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                           nullptr, nullptr, nullptr);
    return values;
}

void Unseed(HKEY hive, const std::string& productFolder, DWORD count) {
    platform::UniqueKey key;
    if (::RegOpenKeyExA(hive, kSharedDllsKey, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return;
    for (DWORD i = 0; i < count; ++i) ::RegDeleteValueA(key.get(), EntryName(productFolder, i).c_str());
}

double RunRemoverSilently() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = self;
    command = "\"" + command.substr(0, command.rfind('\\')) + "\\meridremover.exe\" /s";
    std::vector<char> text(command.begin(), command.end());
    text.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const LARGE_INTEGER start = Now();
    if (!::CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1.0;
    platform::UniqueHandle process(info.hProcess);
    platform::UniqueHandle thread(info.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    return Seconds(start, Now());
}

double Fastest(const std::vector<double>& samples) { return *std::min_element(samples.begin(), samples.end()); }
double Slowest(const std::vector<double>& samples) { return *std::max_element(samples.begin(), samples.end()); }

// One sweep of a freshly seeded key, in-process or by the program; false when
// the wrong entries were left.
bool Measure(HKEY hive, const std::string& productFolder, DWORD count, bool byProgram, double& seconds) {
    const DWORD before = ValueCount(hive);
    if (!Seed(hive, productFolder, count)) return false;
    if (byProgram) {
        seconds = RunRemoverSilently();
    } else {
        const LARGE_INTEGER start = Now();
        remover::SweepSharedDllEntries(hive);
        seconds = Seconds(start, Now());
    }
    const bool ok = ValueCount(hive) == before + count - (count + 3) / 4;
    Unseed(hive, productFolder, count);
    return ok && seconds >= 0;
}

}  // namespace

int main() {
    std::string productFolder;
    if (!remover::GetProductFolder(true, productFolder)) {
        std::printf("no Common Files product folder\n");
        return 1;
    }
    const HKEY hive = HKEY_LOCAL_MACHINE;
    double ignored = 0;
    bool ok = Measure(hive, productFolder, 100, false, ignored) && Measure(hive, productFolder, 100, true, ignored);
    std::printf("%8s %8s %10s %10s %13s %15s %15s\n", "values", "product", "sweep ms", "(slowest)", "us per value",
                "remover /s ms", "(slowest)");
    for (const DWORD count : {5000u, 10000u, 20000u, 40000u}) {
        std::vector<double> sweeps;
        std::vector<double> programs;
        for (int run = 0; run < 3; ++run) {
            double seconds = 0;
            ok = Measure(hive, productFolder, count, false, seconds) && ok;
            sweeps.push_back(seconds);
            ok = Measure(hive, productFolder, count, true, seconds) && ok;
            programs.push_back(seconds);
        }
        const double sweep = Fastest(sweeps);
        std::printf("%8lu %8lu %10.1f %10.1f %13.2f %15.1f %15.1f\n", static_cast<unsigned long>(count),
                    static_cast<unsigned long>((count + 3) / 4), sweep * 1000.0, Slowest(sweeps) * 1000.0,
                    sweep * 1e6 / count, Fastest(programs) * 1000.0, Slowest(programs) * 1000.0);
    }
    if (!ok) std::printf("a sweep left the wrong entries\n");
    return ok ? 0 : 1;
}
