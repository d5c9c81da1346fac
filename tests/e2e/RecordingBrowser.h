#pragma once

// The desktop's "open" for end-to-end runs: an xdg-open first on PATH that notes each address
// it is given, one a line, instead of starting a browser.

#include <QtTest>

namespace vendra::test {

class RecordingBrowser {
  public:
    RecordingBrowser() {
        QFile script(tools_.filePath("xdg-open"));
        if (!script.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(script.fileName()));
        script.write(("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + record() + "'\n").toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", (tools_.path() + ":" + qgetenv("PATH")).toUtf8());
    }

    // Forgets what was opened so far.
    void clear() const { QFile::remove(record()); }
    // The addresses opened so far, each ended by a line break; the script creates the file
    // before it writes the line, so a whole line means the open has happened.
    QByteArray opened() const {
        QFile file(record());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

  private:
    QString record() const { return tools_.filePath("opened.txt"); }

    QTemporaryDir tools_;
};

}  // namespace vendra::test
