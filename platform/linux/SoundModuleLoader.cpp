// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/SoundModule.h"

#include "SoundModulePath.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace pardolin::linux_backend {
namespace {

std::filesystem::path ProgramDir() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}

const SoundModule* Load() {
    const std::filesystem::path path = ProgramDir() / kSoundModuleRelativePath;
    void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "pardolin: cannot load the sound module: %s\n", dlerror());
        return nullptr;
    }
    using Entry = const SoundModule* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, kSoundModuleEntry));
    if (!entry) {
        std::fprintf(stderr, "pardolin: %s has no %s\n", path.c_str(), kSoundModuleEntry);
        return nullptr;
    }
    // Kept loaded for the rest of the run.
    return entry();
}

} // namespace

const SoundModule* LoadSoundModule() {
    static const SoundModule* const module = Load();
    return module;
}

} // namespace pardolin::linux_backend
