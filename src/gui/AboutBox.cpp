#include "gui/AboutBox.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/Resources.h"
#include "gui/TitleBar.h"
#include "help/AboutTexts.h"

namespace vendra {
namespace {

QFont SmallArial() {
    QFont font("Arial");
    font.setPointSizeF(8.25);
    return font;
}

// The box's face: the banner, with the box's labels and button over it.
class Face : public QWidget {
  public:
    explicit Face(QWidget* box) : QWidget(box), banner_(PngPicture(":/images/banner.png")) {
        setFixedSize(384, 165);
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override { QPainter(this).drawPixmap(0, 0, banner_); }

  private:
    QPixmap banner_;
};

}  // namespace

AboutBox::AboutBox(const AppIdentity& identity, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    LoadResources();
    setObjectName("aboutBox");
    setFont(SmallArial());

    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);

    auto* face = new Face(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(face);
    // The box takes the face's size (and a title bar's, where it draws its own) and keeps it.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* icon = new QLabel(face);
    icon->setObjectName("icon");
    icon->setGeometry(32, 112, 36, 36);
    icon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    icon->setLineWidth(2);
    icon->setAlignment(Qt::AlignCenter);
    icon->setPixmap(PngPicture(":/icons/vendra.png"));

    auto* versionLine = new QLabel(face);
    versionLine->setObjectName("versionLine");
    versionLine->setGeometry(104, 128, 131, 15);

    auto* notice = new QLabel("Finds the most-bid auctions.", face);
    notice->setObjectName("notice");
    notice->setGeometry(104, 144, 155, 14);

    auto* okButton = new QPushButton("OK", face);
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
    AddOwnTitleBar(*this, false);
}

}  // namespace vendra
