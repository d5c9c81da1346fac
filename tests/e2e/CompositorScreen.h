#pragma once

// The screen of a headless Wayland compositor, read back and held against what a window draws of
// itself: for the end-to-end runs of the window on Wayland.

#include <QtTest>
#include <optional>

namespace vendra::test {

// The screen as the compositor shows it now, read by weston's screenshooter or, where that is not
// offered, by grim (wlroots compositors such as sway); a null image when it cannot be read.
inline QImage Screen() {
    for (const QString shooter : {"weston-screenshooter", "grim"}) {
        QTemporaryDir folder;
        QProcess shot;
        shot.setWorkingDirectory(folder.path());
        shot.start(shooter, shooter == "grim" ? QStringList{"screen.png"} : QStringList{});
        if (!shot.waitForFinished(10000) || shot.exitCode() != 0) continue;
        const QStringList shots = QDir(folder.path()).entryList({"*.png"});
        if (shots.size() == 1)
            return QImage(folder.filePath(shots.front())).convertToFormat(QImage::Format_RGB32);
    }
    return {};
}

// The share of the pixels of `image` that `screen` shows unchanged at `at`.
inline double SameShare(const QImage& screen, const QImage& image, QPoint at) {
    qint64 same = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            same += screen.pixel(at.x() + x, at.y() + y) == image.pixel(x, y);
    return double(same) / (qint64(image.width()) * image.height());
}

// Where `screen` shows `image`: the place whose first row is the image's and where all but a few
// pixels (a caret that blinked between the two) are the image's own.
inline std::optional<QPoint> Find(const QImage& screen, const QImage& image) {
    for (int top = 0; top + image.height() <= screen.height(); ++top)
        for (int left = 0; left + image.width() <= screen.width(); ++left) {
            int x = 0;
            while (x < image.width() && screen.pixel(left + x, top) == image.pixel(x, 0)) ++x;
            if (x == image.width() && SameShare(screen, image, {left, top}) > 0.99)
                return QPoint(left, top);
        }
    return std::nullopt;
}

// The smallest rectangle holding every pixel that differs between the two screens.
inline QRect Changed(const QImage& before, const QImage& after) {
    QRect changed;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) changed |= QRect(x, y, 1, 1);
    return changed;
}

// Where the window shows on the screen, once the compositor shows it as the window draws
// itself; the screen it was found on goes to `screen`.
inline std::optional<QRect> ShownAt(QWidget& window, QImage* screen = nullptr) {
    for (QDeadlineTimer deadline(15000); !deadline.hasExpired(); QTest::qWait(50)) {
        const QImage shown = Screen();
        if (shown.isNull()) continue;
        const QImage drawn = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (const std::optional<QPoint> at = Find(shown, drawn)) {
            if (screen) *screen = shown;
            return QRect(*at, drawn.size());
        }
    }
    return std::nullopt;
}

// The desktop before the program shows anything: its background drawn.
inline QImage EmptyDesktop() {
    for (QDeadlineTimer deadline(15000); !deadline.hasExpired(); QTest::qWait(50)) {
        const QImage shown = Screen();
        if (!shown.isNull() && shown.pixel(shown.width() / 2, shown.height() / 2) != qRgb(0, 0, 0))
            return shown;
    }
    return {};
}

}  // namespace vendra::test
