#pragma once

// The processes of an end-to-end test: the sample auction site on a free loopback port, which the
// program's fetch reaches as its web proxy as under scripts/run, and the program from the command
// line.

#include <QtTest>

namespace vendra::test {

class SampleSiteProcess {
  public:
    // faults: "KIND@SUBSTRING" entries, each passed as --fault.
    explicit SampleSiteProcess(const QStringList& faults = {}) {
        QStringList arguments{"--port", "0", "--log", logPath()};
        for (const QString& fault : faults) arguments << "--fault" << fault;
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(SAMPLE_SITE_PATH, arguments);
        static const QRegularExpression listening("listening on (\\d+)\\n");
        QByteArray output;
        for (QDeadlineTimer deadline(10000); port_ == 0 && !deadline.hasExpired();) {
            process_.waitForReadyRead(100);
            output += process_.readAllStandardOutput();
            port_ = listening.match(QString::fromLatin1(output)).captured(1).toUShort();
        }
        qputenv("http_proxy", QString("http://127.0.0.1:%1").arg(port_).toLatin1());
        qputenv("no_proxy", "");
    }

    ~SampleSiteProcess() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) process_.kill();
        process_.waitForFinished(5000);
        qunsetenv("http_proxy");
    }

    bool started() const { return port_ != 0; }
    QString logPath() const { return dir_.filePath("requests.log"); }

    // One line a request: "CONNECTION METHOD TARGET".
    QStringList logLines() const {
        QFile log(logPath());
        if (!log.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    bool requested(const QString& target) const { return logLines().join('\n').contains(target); }

  private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
};

// The program from the command line with no display, copied into `folder` (a fresh one when none
// is given) so that the folder is its application folder.
struct ConsoleProgram {
    explicit ConsoleProgram(const QString& into = {}) : folder(into.isEmpty() ? own.path() : into) {
        QFile::copy(VENDRA_PATH, path("vendra"));  // the folder may hold it already
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        process.setProcessEnvironment(environment);
    }
    QString path(const QString& name) const { return folder + "/" + name; }
    void start(const QStringList& options) { process.start(path("vendra"), options); }
    // Waits for the program to end; what it said on stderr.
    QString finish() {
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardError());
    }

    QTemporaryDir own;
    QString folder;
    QProcess process;
};

}  // namespace vendra::test
