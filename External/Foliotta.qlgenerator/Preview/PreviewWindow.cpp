#include "PreviewWindow.h"

#include "PagePictureView.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString Heading(const QString& title, const QColor& accent) {
    return QStringLiteral("<h4 style='color:%1; margin-top:10px; margin-bottom:2px'>%2</h4>").arg(accent.name(), title);
}

// Colour texts are "#rrggbb"; anything else is shown as text without a swatch.
QString Swatch(const std::string& colorText) {
    const QString text = Utf8(colorText).toHtmlEscaped();
    const QColor color = QColor::fromString(Utf8(colorText));
    // A thin border, so that a swatch of the panel's own colour still shows.
    const QString cell = color.isValid()
                             ? QStringLiteral("<td width='28' bgcolor='%1' style='border: 1px solid #808080'>&nbsp;</td>").arg(color.name())
                             : QStringLiteral("<td width='28'></td>");
    return QStringLiteral("<tr>%1<td>&nbsp;%2</td></tr>").arg(cell, text);
}

// Points to at most two decimals, as a reader wants them: "651.9685" shows as "651.97".
QString Points(const std::string& text) {
    bool isNumber = false;
    const double points = Utf8(text).toDouble(&isNumber);
    return isNumber ? QString::number(std::round(points * 100) / 100, 'g', 12) : Utf8(text).toHtmlEscaped();
}

// Sizes are written one way in the window: "651.9685 x 566.9291 pt", as the pasteboard has each
// page's size, shows as the first page's "651.97 × 566.93 pt".
QString PointSize(const std::string& width, const std::string& height) {
    return QStringLiteral("%1 × %2 pt").arg(Points(width), Points(height));
}

QString PageSize(const std::string& text) {
    const QStringList sides = Utf8(text).split(QLatin1Char(' '));
    if (sides.size() == 4 && sides[1] == QLatin1String("x") && sides[3] == QLatin1String("pt"))
        return PointSize(sides[0].toStdString(), sides[2].toStdString());
    return Utf8(text).toHtmlEscaped();
}

QString FactsHtml(const ExtractedDocument& document, const QColor& accent) {
    QString html;
    if (!document.firstPageWidth.empty() && !document.firstPageHeight.empty())
        html += Heading(QStringLiteral("First page"), accent) +
                PointSize(document.firstPageWidth, document.firstPageHeight);
    if (!document.fonts.empty()) {
        html += Heading(QStringLiteral("Fonts"), accent);
        for (const auto& font : document.fonts) html += Utf8(font).toHtmlEscaped() + QStringLiteral("<br>");
    }
    if (!document.colors.empty()) {
        html += Heading(QStringLiteral("Colours"), accent) + QStringLiteral("<table cellspacing='2'>");
        for (const auto& color : document.colors) html += Swatch(color);
        html += QStringLiteral("</table>");
    }
    if (!document.pageSizes.empty()) {
        html += Heading(QStringLiteral("Pages"), accent);
        for (size_t page = 0; page < document.pageSizes.size(); ++page)
            html += QStringLiteral("%1: %2<br>").arg(page + 1).arg(PageSize(document.pageSizes[page]));
    }
    return html;
}

QString JoinedParagraphs(const ExtractedDocument& document) {
    QStringList paragraphs;
    for (const auto& paragraph : document.paragraphs) paragraphs << Utf8(paragraph);
    return paragraphs.join(QStringLiteral("\n"));
}

}  // namespace

PreviewWindow::PreviewWindow(const QString& documentName, const ExtractedDocument& document, const PreviewLook& look) {
    QImage page;
    page.loadFromData(reinterpret_cast<const uchar*>(document.pagePicture.data()), static_cast<int>(document.pagePicture.size()), "PNG");
    Build(documentName, page, look);
    summary_->setText(Utf8(document.summary));
    facts_->setHtml(FactsHtml(document, SkinQColor(look.skin->accent)));
    text_->setPlainText(JoinedParagraphs(document));
}

PreviewWindow::PreviewWindow(const QString& documentName, const QString& message, const PreviewLook& look) {
    Build(documentName, QImage(), look);
    summary_->setText(message);
    summary_->setObjectName(QStringLiteral("message"));
    facts_->hide();
    find_->hide();
    matches_->hide();
    text_->hide();
}

void PreviewWindow::Build(const QString& documentName, const QImage& page, const PreviewLook& look) {
    setWindowTitle(documentName);
    resize(kDefaultSize);

    auto* panel = new QWidget;
    QPalette colors = panel->palette();
    colors.setColor(QPalette::Window, SkinQColor(look.skin->panel));
    colors.setColor(QPalette::Base, SkinQColor(look.skin->panel));
    colors.setColor(QPalette::WindowText, SkinQColor(look.skin->text));
    colors.setColor(QPalette::Text, SkinQColor(look.skin->text));
    colors.setColor(QPalette::PlaceholderText, SkinQColor(look.skin->subtleText));
    colors.setColor(QPalette::Highlight, SkinQColor(look.skin->accent));
    panel->setPalette(colors);
    panel->setAutoFillBackground(true);
    panel->setFont(QFont(QString::fromUtf8(look.skin->fontFamily)));

    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    summary_->setTextFormat(Qt::PlainText);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont summaryFont = summary_->font();
    summaryFont.setBold(true);
    summaryFont.setPointSizeF(summaryFont.pointSizeF() * 1.25);
    summary_->setFont(summaryFont);

    facts_ = new QTextBrowser;
    facts_->setObjectName(QStringLiteral("facts"));
    facts_->setFrameShape(QFrame::NoFrame);
    facts_->setOpenLinks(false);

    find_ = new QLineEdit;
    find_->setObjectName(QStringLiteral("find"));
    find_->setPlaceholderText(QStringLiteral("Find in text (Ctrl+F)"));
    find_->setClearButtonEnabled(true);
    matches_ = new QLabel;
    matches_->setObjectName(QStringLiteral("matches"));

    text_ = new QPlainTextEdit;
    text_->setObjectName(QStringLiteral("text"));
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(find_, 1);
    findRow->addWidget(matches_);

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(16, 16, 16, 16);
    panelLayout->addWidget(summary_);
    panelLayout->addWidget(facts_, 2);
    panelLayout->addLayout(findRow);
    panelLayout->addWidget(text_, 3);
    panelLayout->addStretch(0);  // keeps a lone message at the top when the rest is hidden

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new PagePictureView(page, look), 5);
    layout->addWidget(panel, 4);

    connect(find_, &QLineEdit::textChanged, this, &PreviewWindow::FindAll);
    connect(find_, &QLineEdit::returnPressed, this, &PreviewWindow::FindNext);
    // Read-only text views scroll on Space; here Space closes the window, as Escape does.
    facts_->installEventFilter(this);
    text_->installEventFilter(this);
    text_->setFocus();
}

bool PreviewWindow::ClosesWindow(const QKeyEvent* event) const {
    return (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Space) && event->modifiers() == Qt::NoModifier;
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Find) && find_->isVisible()) {
        find_->setFocus();
        find_->selectAll();
    } else if (ClosesWindow(event)) {
        close();
    } else {
        QWidget::keyPressEvent(event);
    }
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && ClosesWindow(static_cast<QKeyEvent*>(event))) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PreviewWindow::FindAll(const QString& wanted) {
    QList<QTextEdit::ExtraSelection> found;
    if (!wanted.isEmpty()) {
        QTextCursor cursor(text_->document());
        while (!(cursor = text_->document()->find(wanted, cursor)).isNull()) {
            QTextEdit::ExtraSelection selection;
            selection.cursor = cursor;
            selection.format.setBackground(palette().color(QPalette::Highlight).lighter(160));
            found.append(selection);
        }
    }
    text_->setExtraSelections(found);
    matches_->setText(wanted.isEmpty() ? QString()
                      : found.isEmpty() ? QStringLiteral("not found")
                      : found.size() == 1 ? QStringLiteral("1 match")
                                          : QStringLiteral("%1 matches").arg(found.size()));
    text_->moveCursor(QTextCursor::Start);
    if (!found.isEmpty()) FindNext();
}

// Selects the next match after the current selection, from the top again after the last.
void PreviewWindow::FindNext() {
    const QString wanted = find_->text();
    if (wanted.isEmpty()) return;
    if (!text_->find(wanted)) {
        text_->moveCursor(QTextCursor::Start);
        text_->find(wanted);
    }
}
