// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/Module.h"

#include "ModulePaths.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace pardolin::linux_backend {

const void* LoadModuleEntry(const char* file, const char* entry, bool reportFailure,
                            const Diagnostics& diagnostics) {
    std::error_code error;
    const std::filesystem::path programDir =
        std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    // Without the program's own place, a relative name would be looked up wherever the
    // program was started from, and a stranger's library loaded.
    if (error || !programDir.is_absolute()) {
        if (reportFailure) {
            std::fprintf(stderr, "pardolin: cannot load %s: /proc/self/exe cannot be read\n", file);
        }
        diagnostics.Failed(Peer::Modules, std::string("loading ") + file,
                           "/proc/self/exe cannot be read");
        return nullptr;
    }
    std::vector<std::string> reasons;
    // The installed layout first; a program run from the build tree finds its modules there.
    for (const char* moduleDir : {kModuleDirFromInstalledProgram, kModuleDirFromBuiltProgram}) {
        const std::filesystem::path path = programDir / moduleDir / file;
        if (void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL)) {
            using Entry = const void* (*)();
            if (const auto function = reinterpret_cast<Entry>(dlsym(handle, entry))) {
                // Kept loaded for the rest of the run: what it returns points into it.
                return function();
            }
            dlclose(handle);
            reasons.push_back(path.string() + " has no " + entry);
        } else {
            reasons.emplace_back(dlerror());
        }
    }
    std::string lines;
    std::string joined;
    for (const std::string& reason : reasons) {
        lines += "\n  " + reason;
        joined += (joined.empty() ? "" : "; ") + reason;
    }
    if (reportFailure) {
        std::fprintf(stderr, "pardolin: cannot load %s:%s\n", file, lines.c_str());
    }
    diagnostics.Failed(Peer::Modules, std::string("loading ") + file, joined);
    return nullptr;
}

} // namespace pardolin::linux_backend
