#include <AppKit/NSAlertPanel.h>

#include <AppKit/AppKitApplication.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Lines of about this many characters read comfortably.
const int kComfortableCharacters = 52;
const int kIconSize = 48;

QStyle::StandardPixmap iconForStyle(NSAlertStyle style)
{
    switch (style) {
    case NSInformationalAlertStyle: return QStyle::SP_MessageBoxInformation;
    case NSCriticalAlertStyle: return QStyle::SP_MessageBoxCritical;
    default: return QStyle::SP_MessageBoxWarning;
    }
}

int widestWord(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

QLabel* textLabel(const QString& text, const QFont& font, const char* name)
{
    auto* label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

QString NSAlertUnbreakableText(const NSString& text)
{
    // A word joiner after each hyphen, slash or other mark inside a word forbids the line break
    // the mark would allow: lines end only at blanks.
    QString shown = QString::fromUtf8(text.UTF8String());
    for (qsizetype at = 0; at + 1 < shown.size(); ++at)
        if (!shown[at].isSpace() && !shown[at].isLetterOrNumber() && !shown[at + 1].isSpace())
            shown.insert(++at, QChar(0x2060));
    return shown;
}

NSAlertPanel::NSAlertPanel(const NSAlert& alert)
{
    AppKitEnsureApplication();
    dialog_ = std::make_unique<QDialog>();
    titles_ = alert.buttonTitles().empty() ? std::vector<NSString>{NSString("OK")} : alert.buttonTitles();

    QDialog* window = dialog_.get();
    window->setWindowTitle(QGuiApplication::applicationDisplayName());
    window->setWindowModality(Qt::ApplicationModal);
    window->setAccessibleName(QString::fromUtf8(alert.messageText().UTF8String()));
    window->setAccessibleDescription(QString::fromUtf8(alert.informativeText().UTF8String()));

    QFont bodyFont = QApplication::font("QMessageBoxLabel");
    QFont titleFont = bodyFont;
    titleFont.setBold(true);
    titleFont.setPointSizeF(bodyFont.pointSizeF() * 1.15);
    const QString message = NSAlertUnbreakableText(alert.messageText());
    const QString informative = NSAlertUnbreakableText(alert.informativeText());
    messageLabel_ = textLabel(message, titleFont, "messageText");
    informativeLabel_ = textLabel(informative, bodyFont, "informativeText");
    informativeLabel_->setVisible(!informative.isEmpty());

    // The text column: a comfortable line, wide enough for the longest word, and for the
    // message on one line when that is not much wider.
    const QFontMetrics bodyMetrics(bodyFont);
    const QFontMetrics titleMetrics(titleFont);
    const int comfortable = bodyMetrics.averageCharWidth() * kComfortableCharacters;
    const int column = std::max({comfortable, widestWord(bodyMetrics, informative) + 2, widestWord(titleMetrics, message) + 2,
                                 std::min(titleMetrics.horizontalAdvance(message) + 2, comfortable * 3 / 2)});
    messageLabel_->setFixedWidth(column);
    informativeLabel_->setFixedWidth(column);

    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("icon"));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    icon->setPixmap(window->style()->standardIcon(iconForStyle(alert.alertStyle()), nullptr, window)
                        .pixmap(QSize(kIconSize, kIconSize), window->devicePixelRatioF()));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(8);
    texts->addWidget(messageLabel_);
    texts->addWidget(informativeLabel_);
    texts->addStretch(1);

    auto* body = new QHBoxLayout;
    body->setSpacing(16);
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addLayout(texts, 1);

    // The first button rightmost, as the desktop places the affirmative one.
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(8);
    buttonRow->addStretch(1);
    for (const NSString& title : titles_)
        buttons_.push_back(new QPushButton(QString::fromUtf8(title.UTF8String())));
    for (auto button = buttons_.rbegin(); button != buttons_.rend(); ++button)
        buttonRow->addWidget(*button);
    buttons_.front()->setDefault(true);

    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(20);
    layout->addLayout(body);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->activate();
    buttons_.front()->setFocus();
}

NSAlertPanel::~NSAlertPanel() = default;

NSModalResponse NSAlertPanel::run()
{
    size_t pressed = buttons_.size() - 1;  // Escape, or the window closed
    for (size_t index = 0; index < buttons_.size(); ++index)
        QObject::connect(buttons_[index], &QPushButton::clicked, dialog_.get(), [this, &pressed, index] {
            pressed = index;
            dialog_->accept();
        });
    dialog_->exec();
    return NSAlertFirstButtonReturn + static_cast<NSModalResponse>(pressed);
}
