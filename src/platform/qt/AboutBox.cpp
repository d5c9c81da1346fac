#include "platform/qt/AboutBox.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "help/AboutLoad.h"
#include "platform/qt/Resources.h"

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
    banner_ = QPixmap(":/images/banner.png");
    setObjectName("frmAbout");
    setFixedSize(384, 165);
    setFont(SmallArial());

    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setGeometry(32, 112, 36, 36);
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(QPixmap(":/icons/vendra.png"));

    auto* lblVersion = new QLabel(this);
    lblVersion->setObjectName("lblVersion");
    lblVersion->setGeometry(104, 128, 131, 15);

    auto* lblDescription = new QLabel("Finds the most-bid auctions.", this);
    lblDescription->setObjectName("lblDescription");
    lblDescription->setGeometry(104, 144, 155, 14);

    auto* cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(280, 136, 84, 23);
    // The default button takes Enter; QDialog maps Escape to reject.
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    cmdOK->setFocus();

    const AboutTexts texts = LoadAbout(identity);
    setWindowTitle(QString::fromStdString(texts.caption));
    lblVersion->setText(QString::fromStdString(texts.version));
}

void AboutBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, banner_);
}

}  // namespace vendra
