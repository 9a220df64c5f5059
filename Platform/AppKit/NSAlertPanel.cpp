#include <AppKit/NSAlertPanel.h>

#include <AppKit/AppKitApplication.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
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

// A label that breaks its lines only at blanks, never after a hyphen, slash or other mark inside
// a word as the usual line breaking would ("un-" at one line's end, "install" on the next). Its
// text stays the alert's own, so that screen readers read exactly that.
class AlertTextLabel : public QLabel {
public:
    using QLabel::QLabel;

    int heightForWidth(int width) const override
    {
        const int lines = static_cast<int>(NSAlertTextLines(text(), font(), width).size());
        return lines * QFontMetrics(font()).lineSpacing();
    }
    QSize sizeHint() const override
    {
        const int width = maximumWidth() < QWIDGETSIZE_MAX ? maximumWidth() : QLabel::sizeHint().width();
        return {width, heightForWidth(width)};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
        const QFontMetrics metrics(font());
        int top = contentsRect().top();
        for (const QString& line : NSAlertTextLines(text(), font(), contentsRect().width())) {
            painter.drawText(contentsRect().left(), top + metrics.ascent(), line);
            top += metrics.lineSpacing();
        }
    }
};

QLabel* textLabel(const QString& text, const QFont& font, const char* name)
{
    auto* label = new AlertTextLabel(text);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// The window an alert belongs to: the modal window in front, else the active window, else the
// application's one visible window. None when that is not clear.
QWidget* alertOwner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    QWidget* owner = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip)
            continue;
        if (owner)
            return nullptr;
        owner = window;
    }
    return owner;
}

}  // namespace

std::vector<QString> NSAlertTextLines(const QString& text, const QFont& font, int width)
{
    // Greedy: each line takes as many whole words as fit; a word wider than the line stands alone.
    const QFontMetrics metrics(font);
    std::vector<QString> lines;
    QString line;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = longer;
            }
        }
        if (!line.isEmpty() || !paragraph.isEmpty())
            lines.push_back(line);
        line.clear();
    }
    return lines;
}

NSAlertPanel::NSAlertPanel(const NSAlert& alert)
{
    AppKitEnsureApplication();
    // Transient for the window it speaks about and modal to it, as the desktop's message boxes
    // are: the window manager keeps it over that window, without minimise and maximise buttons.
    QWidget* owner = alertOwner();
    dialog_ = new QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    titles_ = alert.buttonTitles().empty() ? std::vector<NSString>{NSString("OK")} : alert.buttonTitles();

    QDialog* window = dialog_.data();
    // Named after the window it belongs to, as the application's name says little there.
    window->setWindowTitle(owner && !owner->windowTitle().isEmpty() ? owner->windowTitle() : QGuiApplication::applicationDisplayName());
    window->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    window->setAccessibleName(QString::fromUtf8(alert.messageText().UTF8String()));
    window->setAccessibleDescription(QString::fromUtf8(alert.informativeText().UTF8String()));

    QFont bodyFont = QApplication::font("QMessageBoxLabel");
    QFont titleFont = bodyFont;
    titleFont.setBold(true);
    titleFont.setPointSizeF(bodyFont.pointSizeF() * 1.15);
    const QString message = QString::fromUtf8(alert.messageText().UTF8String());
    const QString informative = QString::fromUtf8(alert.informativeText().UTF8String());
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

NSAlertPanel::~NSAlertPanel()
{
    delete dialog_.data();  // unless its owner window took it along already
}

NSModalResponse NSAlertPanel::run()
{
    size_t pressed = buttons_.size() - 1;  // Escape, or the window closed
    for (size_t index = 0; index < buttons_.size(); ++index)
        QObject::connect(buttons_[index], &QPushButton::clicked, dialog_.data(), [this, &pressed, index] {
            pressed = index;
            dialog_->accept();
        });
    dialog_->exec();
    // Callers often go on to block (waiting for a password, a fixed sleep): the window under the
    // alert is drawn again now, or until then it would show the alert's remains, or black.
    dialog_->hide();
    if (QWidget* owner = dialog_->parentWidget()) {
        owner->repaint();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return NSAlertFirstButtonReturn + static_cast<NSModalResponse>(pressed);
}
