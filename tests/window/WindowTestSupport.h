// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QtControls.h"

#include "app/Forms.h"
#include "platform/frontends/qt/QtDisplaySurface.h"
#include "platform/frontends/qt/QtTextLabel.h"
#include "platform/frontends/qt/QtTextSurface.h"

#include <QApplication>
#include <QPushButton>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace pardolin::testing {

// Thrown where the program would end, so a test can see that the handler went no further.
struct ProgramEnded {};

// Whether the wait cursor shows now.
inline bool Busy() {
    return QApplication::overrideCursor() &&
           QApplication::overrideCursor()->shape() == Qt::WaitCursor;
}

// The real Qt display, except that messages are recorded instead of waiting for a user and
// ending the program throws instead of leaving the test. Every call is logged in `log`,
// shared with the fake queries so tests can check the order of queries and captions; a
// query made without the wait cursor says so in the log.
class RecordingDisplay : public QtDisplaySurface {
  public:
    RecordingDisplay(SystemQueries& queries, QStringList& log)
        : QtDisplaySurface([&queries](FormId form, DisplaySurface& display) {
              return CreateForm(form, display, queries);
          }),
          m_log(log) {}

    void SetCaption(ReportLineRef line, const Text& text) override {
        m_log << QStringLiteral("set ") + ControlWidget(*this, line)->objectName();
        QtDisplaySurface::SetCaption(line, text);
    }
    void ClearSurface(SurfaceRef surface) override {
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
    std::optional<std::uint32_t> deviceCount = 1;
    std::optional<WaveCapsRecord> caps = WaveCapsRecord{};

    std::int32_t GetKeyboardType(std::int32_t) override {
        Log(QStringLiteral("query type"));
        return keyboardType;
    }
    bool SystemParametersInfoA(SystemParameter action, std::uint32_t, std::int32_t& value,
                               std::uint32_t) override {
        const bool isDelay = action == SystemParameter::KeyboardDelay;
        Log(isDelay ? QStringLiteral("query delay") : QStringLiteral("query rate"));
        const std::optional<std::int32_t>& setting = isDelay ? delay : rate;
        if (setting) {
            value = *setting;
        }
        return setting.has_value();
    }
    std::uint32_t GetCaretBlinkTime() override {
        Log(QStringLiteral("query caret"));
        return caretMs;
    }
    std::optional<std::uint32_t> waveOutGetNumDevs() override {
        Log(QStringLiteral("query count"));
        return deviceCount;
    }
    WaveResult waveOutGetDevCapsA(std::uint32_t, WaveCapsRecord& record,
                                  std::uint32_t size) override {
        Log(QStringLiteral("query caps %1").arg(size));
        if (!caps) {
            return WaveResult::NoDriver;
        }
        record = *caps;
        return WaveResult::NoError;
    }

  private:
    void Log(const QString& query) {
        m_log << (Busy() ? query : query + QStringLiteral(" (not busy)"));
    }

    QStringList& m_log;
};

// A fake system and a recording display, made afresh for each test function.
struct FakeSession {
    QStringList log;
    FakeQueries queries{log};
    RecordingDisplay display{queries, log};

    // Shows the window as a button would, and returns it.
    QtFormWindow* Show(FormId form) {
        display.ShowForm(form);
        return display.FindForm(form);
    }
    QPushButton* Button(ButtonRef button) const {
        return ControlWidget<QPushButton>(display, button);
    }
    QtTextSurface* Surface(SurfaceRef surface) const {
        return ControlWidget<QtTextSurface>(display, surface);
    }
    QtTextLabel* Line(ReportLineRef line) const {
        return ControlWidget<QtTextLabel>(display, line);
    }
    // The handlers of a window's live instance, for a handler that ends the program: that
    // throws, and an exception must not pass through the toolkit's own code.
    template <typename Logic> Logic& Handlers(FormId form) const {
        return dynamic_cast<Logic&>(display.FindForm(form)->Logic());
    }
    QStringList Lines(SurfaceRef surface) const { return PrintedLines(Surface(surface)); }
    QString Text(ReportLineRef line) const { return Line(line)->text(); }
};

} // namespace pardolin::testing
