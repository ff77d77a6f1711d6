#pragma once
// Helpers for the dialog tests: acting on a modal dialog once it runs, capturing message boxes,
// station database fixtures, and screenshots on request.
#include "base/qt/MessageBox.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace nimbrel::testing {

// Runs act inside the exec() the test calls next, once dialog is shown and ready says it has
// finished loading; a dialog still open afterwards (a failed check returns early) is cancelled,
// so a failure never leaves the test waiting.
inline void WhenModal(QDialog& dialog, std::function<void()> act,
                      std::function<bool()> ready = {}) {
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [&dialog, act = std::move(act), ready = std::move(ready), attempt] {
        if (!dialog.isVisible() || (ready && !ready())) {
            QTimer::singleShot(1, *attempt); // still loading: look again once it had its turn
            return;
        }
        act();
        if (dialog.isVisible()) {
            dialog.reject();
        }
        *attempt = {}; // breaks the cycle of the shared function holding itself
    };
    QTimer::singleShot(0, *attempt);
}

// Records every message box instead of showing it.
struct CapturedMessages {
    struct Message {
        QMessageBox::Icon icon;
        QString text;
    };
    std::vector<Message> messages;

    gui::MessageBoxFunction Function() {
        return [this](QWidget*, QMessageBox::Icon icon, const QString& text) {
            messages.push_back({icon, text});
        };
    }
};

inline void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(content);
    }
}

// A small station database: countries in an order that is not alphabetical, with lines the
// list leaves out, and one country whose section is missing.
inline void WriteStationDatabase(const QString& folder) {
    WriteFile(QDir(folder).filePath(QStringLiteral("Countries.ini")), "[Countries]\r\n"
                                                                      "NL=Netherlands;1\r\n"
                                                                      "XX=No offset\r\n"
                                                                      "YY=;3\r\n"
                                                                      "US=United States;-5\r\n"
                                                                      "JP=Japan;9\r\n"
                                                                      "ZZ=Atlantis;0\r\n");
    WriteFile(QDir(folder).filePath(QStringLiteral("Cities.ini")),
              "[NL]\r\n"
              "EHRD=Rotterdam\r\n"
              "EHAM=Amsterdam Airport Schiphol\r\n"
              "[US]\r\n"
              "KJFK=New York John F. Kennedy\r\n"
              "KBOS=Boston Logan\r\n"
              "KBOI=Boise\r\n"
              "[JP]\r\n"
              "RJTT=Tokyo Haneda\r\n");
}

// With NIMBREL_SCREENSHOTS set to a folder, saves widget there as name.png.
inline void SaveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("NIMBREL_SCREENSHOTS");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace nimbrel::testing
