#include "gui/AboutBox.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "gui/Resources.h"
#include "help/AboutTexts.h"

namespace vendra {
namespace {

QFont SmallArial() {
    QFont font("Arial");
    font.setPointSizeF(8.25);
    return font;
}

}  // namespace

AboutBox::AboutBox(const AppIdentity& identity, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    LoadResources();
    banner_ = PngPicture(":/images/banner.png");
    setObjectName("aboutBox");
    setFixedSize(384, 165);
    setFont(SmallArial());

    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);

    auto* icon = new QLabel(this);
    icon->setObjectName("icon");
    icon->setGeometry(32, 112, 36, 36);
    icon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    icon->setLineWidth(2);
    icon->setAlignment(Qt::AlignCenter);
    icon->setPixmap(PngPicture(":/icons/vendra.png"));

    auto* versionLine = new QLabel(this);
    versionLine->setObjectName("versionLine");
    versionLine->setGeometry(104, 128, 131, 15);

    auto* notice = new QLabel("Finds the most-bid auctions.", this);
    notice->setObjectName("notice");
    notice->setGeometry(104, 144, 155, 14);

    auto* okButton = new QPushButton("OK", this);
    okButton->setObjectName("okButton");
    okButton->setGeometry(280, 136, 84, 23);
    // The default button takes Enter; QDialog maps Escape to reject.
    okButton->setDefault(true);
    okButton->setAutoDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    okButton->setFocus();

    const AboutTexts texts = AboutTextsOf(identity);
    setWindowTitle(QString::fromStdString(texts.caption));
    versionLine->setText(QString::fromStdString(texts.version));
}

void AboutBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, banner_);
}

}  // namespace vendra
