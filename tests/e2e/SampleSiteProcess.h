#pragma once

// Starts the sample auction site for one test, on a free loopback port, and points the program's
// fetch at it as its web proxy, as scripts/run does.

#include <QtTest>

namespace vendra::test {

class SampleSiteProcess {
  public:
    // faults: "KIND@SUBSTRING" entries, each passed as --fault; options: any other options.
    // hour: the site as it stands that many hours on.
    SampleSiteProcess(const QStringList& faults, int hour)
        : SampleSiteProcess(faults, {"--hour", QString::number(hour)}) {}
    explicit SampleSiteProcess(const QStringList& faults = {}, const QStringList& options = {}) {
        QStringList arguments =
            options + QStringList{"--port", "0", "--log", dir_.filePath("requests.log")};
        for (const QString& fault : faults) arguments << "--fault" << fault;
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(SAMPLE_SITE_PATH, arguments);
        static const QRegularExpression listening("listening on (\\d+)\\n");
        QByteArray output;
        for (QDeadlineTimer deadline(10000); port_ == 0 && !deadline.hasExpired();) {
            const bool running = process_.state() != QProcess::NotRunning;
            process_.waitForReadyRead(100);
            output += process_.readAllStandardOutput();
            port_ = listening.match(QString::fromLatin1(output)).captured(1).toUShort();
            static const QRegularExpression https("https on (\\d+)\\n");
            httpsPort_ = https.match(QString::fromLatin1(output)).captured(1).toUShort();
            if (!running) break;  // it will say no more
        }
        if (port_ == 0) {
            // A QFAIL would only leave this constructor, and the test would go on with a fetch
            // that reaches no site: end the whole program instead.
            process_.kill();
            process_.waitForFinished(5000);
            qFatal("the sample site did not start; it printed: %s", output.constData());
        }
        qputenv("http_proxy", QString("http://127.0.0.1:%1").arg(port_).toLatin1());
        qputenv("no_proxy", "");
    }

    ~SampleSiteProcess() {
        process_.terminate();  // or killed with the process object when it does not end
        process_.waitForFinished(5000);
        qunsetenv("http_proxy");
    }

    // One line a request: "CONNECTION METHOD TARGET".
    QStringList logLines() const {
        QFile log(dir_.filePath("requests.log"));
        if (!log.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    bool requested(const QString& target) const { return logLines().join('\n').contains(target); }
    // The port of the https endpoint, when it was asked for.
    quint16 httpsPort() const { return httpsPort_; }

  private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    quint16 httpsPort_ = 0;
};

}  // namespace vendra::test
