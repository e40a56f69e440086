// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"

namespace pardolin::linux_backend {

// Loads one of the program's modules, found from the running program's own location, and
// returns what its entry function returns; nullptr when it cannot be loaded. The first
// failure is reported on stderr, every one on the modules' channel of `diagnostics`.
const void* LoadModuleEntry(const char* file, const char* entry, bool reportFailure,
                            const Diagnostics& diagnostics);

// A module of the program, loaded on first use and kept for the rest of the run. A module
// that cannot be loaded (moved away, out of file descriptors) is tried again on the next use.
template <typename Interface> class Module {
  public:
    Module(const char* file, const char* entry, const Diagnostics& diagnostics = {})
        : m_file(file), m_entry(entry), m_diagnostics(diagnostics) {}

    const Interface* Get() {
        if (!m_loaded) {
            m_loaded = static_cast<const Interface*>(
                LoadModuleEntry(m_file, m_entry, !m_failed, m_diagnostics));
            m_failed = !m_loaded;
        }
        return m_loaded;
    }

  private:
    const char* m_file;
    const char* m_entry;
    const Diagnostics m_diagnostics;
    const Interface* m_loaded = nullptr;
    bool m_failed = false;
};

} // namespace pardolin::linux_backend
