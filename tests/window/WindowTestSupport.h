// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Forms.h"
#include "platform/qt/QtDisplaySurface.h"
#include "platform/qt/TextLabel.h"
#include "platform/qt/TextSurface.h"

#include <QString>
#include <QStringList>

#include <memory>

#include <optional>
#include <string>
#include <vector>

namespace pardolin::testing {

// Thrown where the program would end, so a test can see that the handler went no further.
struct ProgramEnded {};

// The real Qt display, except that messages are recorded instead of waiting for a user and
// ending the program throws instead of leaving the test. Every call is logged in `log`,
// shared with the fake queries so tests can check the order of queries and captions.
class RecordingDisplay : public QtDisplaySurface {
  public:
    RecordingDisplay(SystemQueries& queries, QStringList& log)
        : QtDisplaySurface([&queries](FormId form, DisplaySurface& display) {
              return CreateForm(form, display, queries);
          }),
          m_log(log) {}

    void SetCaption(TextLabel& label, const Text& text) override;
    void ClearSurface(TextSurface& surface) override {
        m_log << QStringLiteral("clear");
        QtDisplaySurface::ClearSurface(surface);
    }
    void ShowMessage(const Text& prompt, const Text& title) override {
        m_log << QStringLiteral("message");
        messages.push_back({prompt, title});
    }
    [[noreturn]] void EndProgram() override {
        m_log << QStringLiteral("end");
        throw ProgramEnded{};
    }

    struct Message {
        Text prompt;
        Text title;
    };
    std::vector<Message> messages;

  private:
    QStringList& m_log;
};

// System facts set by the test. An empty optional makes that query fail.
class FakeQueries : public SystemQueries {
  public:
    explicit FakeQueries(QStringList& log) : m_log(log) {}

    std::int32_t keyboardType = 4;
    std::optional<std::int32_t> delay = 1;
    std::optional<std::int32_t> rate = 31;
    std::uint32_t caretMs = 530;
    std::uint32_t deviceCount = 1;
    std::optional<WaveCapsRecord> caps = WaveCapsRecord{};

    std::int32_t GetKeyboardType(std::int32_t) override {
        m_log << QStringLiteral("query type");
        return keyboardType;
    }
    bool SystemParametersInfoA(std::uint32_t action, std::uint32_t, std::int32_t& value,
                               std::uint32_t) override {
        const bool isDelay = action == SPI_GETKEYBOARDDELAY;
        m_log << (isDelay ? QStringLiteral("query delay") : QStringLiteral("query rate"));
        const std::optional<std::int32_t>& setting = isDelay ? delay : rate;
        if (setting) {
            value = *setting;
        }
        return setting.has_value();
    }
    std::uint32_t GetCaretBlinkTime() override {
        m_log << QStringLiteral("query caret");
        return caretMs;
    }
    std::uint32_t waveOutGetNumDevs() override {
        m_log << QStringLiteral("query count");
        return deviceCount;
    }
    std::uint32_t waveOutGetDevCapsA(std::uint32_t, WaveCapsRecord& record,
                                     std::uint32_t size) override {
        m_log << QStringLiteral("query caps %1").arg(size);
        if (!caps) {
            return MMSYSERR_NODRIVER;
        }
        record = *caps;
        return MMSYSERR_NOERROR;
    }

  private:
    QStringList& m_log;
};

inline void RecordingDisplay::SetCaption(TextLabel& label, const Text& text) {
    m_log << QStringLiteral("set ") + label.objectName();
    QtDisplaySurface::SetCaption(label, text);
}

// A fake system and a recording display, made afresh for each test function.
struct FakeSession {
    QStringList log;
    FakeQueries queries{log};
    RecordingDisplay display{queries, log};

    template <typename T> T* Form(FormId form) { return static_cast<T*>(display.FindForm(form)); }
    // Shows the window as a button would, and returns it.
    template <typename T> T* Show(FormId form) {
        display.ShowForm(form);
        return Form<T>(form);
    }
};

} // namespace pardolin::testing
