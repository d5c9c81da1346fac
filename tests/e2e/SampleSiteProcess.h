#pragma once

// Starts the sample auction site for one test, on a free loopback port, and points the program's
// fetch at it as its web proxy, as scripts/run does.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

namespace vendra::test {

class SampleSiteProcess {
public:
    // faults: "KIND@SUBSTRING" entries, each passed as --fault.
    explicit SampleSiteProcess(const QStringList& faults = {}) {
        QStringList arguments{"--port", "0", "--log", logPath()};
        for (const QString& fault : faults) arguments << "--fault" << fault;
        process_.setProgram(SAMPLE_SITE_PATH);
        process_.setArguments(arguments);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        QDeadlineTimer deadline(10000);
        QByteArray output;
        static const QRegularExpression listening("listening on (\\d+)\\n");
        while (!deadline.hasExpired()) {
            process_.waitForReadyRead(100);
            output += process_.readAllStandardOutput();
            if (auto match = listening.match(QString::fromLatin1(output)); match.hasMatch()) {
                port_ = match.captured(1).toUShort();
                break;
            }
        }
        qputenv("http_proxy", proxyUrl().toLatin1());
        qputenv("no_proxy", "");
    }

    ~SampleSiteProcess() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) process_.kill();
        process_.waitForFinished(5000);
        qunsetenv("http_proxy");
    }

    SampleSiteProcess(const SampleSiteProcess&) = delete;
    SampleSiteProcess& operator=(const SampleSiteProcess&) = delete;

    bool started() const { return port_ != 0; }
    QString proxyUrl() const { return QString("http://127.0.0.1:%1").arg(port_); }
    QString logPath() const { return dir_.filePath("requests.log"); }

    QStringList logLines() const {
        QFile log(logPath());
        if (!log.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
};

}  // namespace vendra::test
