// SPDX-License-Identifier: GPL-3.0-or-later
// A diagnostics channel that records what it is told, every peer wanted, for the tests to
// read back.
#pragma once

#include "platform/Diagnostics.h"

#include <mutex>
#include <string>
#include <vector>

namespace pardolin::testing {

class Told {
  public:
    // The channel, with every peer wanted; what it is told is kept until the next Clear.
    static Diagnostics Channel() {
        return Diagnostics({[](Peer) { return true; },
                            [](Peer peer, std::string_view message) {
                                const std::lock_guard lock(Mutex());
                                Lines().push_back(std::string(ChannelName(peer)) + ": " +
                                                  std::string(message));
                            }});
    }
    static void Clear() {
        const std::lock_guard lock(Mutex());
        Lines().clear();
    }
    // Whether a line told since the last Clear has `text` in it.
    static bool Contains(const std::string& text) {
        const std::lock_guard lock(Mutex());
        for (const std::string& line : Lines()) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    static std::size_t Count() {
        const std::lock_guard lock(Mutex());
        return Lines().size();
    }
    static std::string First() {
        const std::lock_guard lock(Mutex());
        return Lines().empty() ? std::string("(nothing)") : Lines().front();
    }
    // Every line, each on a line of its own, for a failure's message.
    static std::string All() {
        const std::lock_guard lock(Mutex());
        std::string all;
        for (const std::string& line : Lines()) {
            all += "\n  " + line;
        }
        return all;
    }

  private:
    // Never destroyed: an attempt left blocked by a test may still tell its failure while
    // the program exits.
    static std::mutex& Mutex() {
        static auto* const mutex = new std::mutex;
        return *mutex;
    }
    static std::vector<std::string>& Lines() {
        static auto* const lines = new std::vector<std::string>;
        return *lines;
    }
};

} // namespace pardolin::testing
