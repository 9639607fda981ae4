#include "chatview.h"

#include "smileys.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int kMargin = 5;
constexpr int kInitialSize = 10;
const QString kLinkScheme = "link";
const QString kSmileyScheme = "smiley";

QUrl smileyUrl(int index) {
    return QUrl(QString("%1:%2").arg(kSmileyScheme).arg(index));
}

ChatView::Style makeStyle(QColor colour, bool bold = false, bool italic = false,
                          bool underline = false) {
    return {colour, bold, italic, underline, kInitialSize};
}

} // namespace

ChatView::ChatView(QWidget* parent) : QTextBrowser(parent) {
    setObjectName("mainchat");
    setAccessibleName("Chat");
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTextInteractionFlags(Qt::TextBrowserInteraction);
    setViewportMargins(kMargin, 0, kMargin, 0);
    document()->setDocumentMargin(2);

    const QColor windowText(Qt::black);
    m_styles[0] = makeStyle(Qt::blue);
    m_styles[1] = makeStyle(Qt::blue, true);
    m_styles[2] = makeStyle(Qt::darkBlue, true);
    m_styles[3] = makeStyle(Qt::darkRed, false, true);
    m_styles[4] = makeStyle(Qt::darkGreen, false, false, true);
    m_styles[5] = makeStyle(Qt::darkGreen, false, false, true);
    const QColor silver(192, 192, 192);
    m_styles[6] = makeStyle(silver);
    m_styles[7] = makeStyle(silver);
    for (std::size_t n = 8; n < m_styles.size(); ++n)
        m_styles[n] = {windowText, false, false, false, kInitialSize};
    m_drawnStyles = m_styles;

    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() != kLinkScheme) return;
        bool ok = false;
        const int number = url.path().toInt(&ok);
        if (ok && number >= 0 && number < linkCount()) emit linkClicked(linkWord(number));
    });
}

// Each face is painted when a line first shows it; the document keeps it from then on.
QVariant ChatView::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::ImageResource && name.scheme() == kSmileyScheme) {
        bool ok = false;
        const int index = name.path().toInt(&ok);
        if (ok && index >= 0 && index < bg::kSmileyCount)
            return art::smiley(index, devicePixelRatioF()).toImage();
        return {};
    }
    return QTextBrowser::loadResource(type, name);
}

void ChatView::addLine(const QString& line, const QColor& colour) {
    std::optional<bg::ChatLine> laid = bg::layoutChatLine(line.toStdString(), m_links);
    if (!laid) return;
    Style& s = m_styles[static_cast<std::size_t>(laid->style)];
    s.colour = colour;
    s.bold = true;
    s.italic = s.underline = false;
    m_lines.push_back(std::move(*laid));
    // Unchanged styles need only the new line drawn; a changed one redraws every line in it.
    if (m_styles == m_drawnStyles) {
        const int scroll = verticalScrollBar()->value();
        appendLine(m_lines.back());
        if (m_scrollOff) verticalScrollBar()->setValue(scroll);
    } else {
        reformat();
    }
    if (!m_scrollOff) scrollToEnd();
}

void ChatView::setTextSize(int size) {
    for (Style& s : m_styles)
        s.size = size;
}

QTextCharFormat ChatView::format(const bg::ChatItem& item) const {
    const Style& s = m_styles[static_cast<std::size_t>(item.style)];
    QTextCharFormat f;
    f.setFontFamilies({"Arial", "Liberation Sans", "DejaVu Sans"});
    f.setFontPointSize(s.size);
    f.setForeground(s.colour);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    return f;
}

void ChatView::appendLine(const bg::ChatLine& line) {
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    // The document's first block takes the first line; every later line opens a paragraph.
    if (m_drawnLines++ > 0) c.insertBlock();
    for (const bg::ChatItem& item : line.items) {
        if (item.kind == bg::ChatItem::Kind::Image) {
            QTextImageFormat img;
            img.setName(smileyUrl(item.image).toString());
            c.insertImage(img);
            continue;
        }
        QTextCharFormat f = format(item);
        if (item.link) {
            f.setAnchor(true);
            f.setAnchorHref(QString("%1:%2").arg(kLinkScheme).arg(m_linkWords.size()));
            m_linkWords.push_back(QString::fromStdString(item.text));
        }
        c.insertText(QString::fromStdString(item.text), f);
    }
}

void ChatView::reformat() {
    const int scroll = verticalScrollBar()->value();
    QTextBrowser::clear();
    m_linkWords.clear();
    m_drawnLines = 0;
    for (const bg::ChatLine& line : m_lines)
        appendLine(line);
    m_drawnStyles = m_styles;
    verticalScrollBar()->setValue(scroll);
    viewport()->update();
}

void ChatView::scrollToEnd() {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void ChatView::setScrollOff(bool off) {
    if (m_scrollOff == off) return;
    m_scrollOff = off;
    emit scrollOffChanged(off);
}

void ChatView::clear() {
    m_lines.clear();
    reformat();
}

int ChatView::itemCount() const {
    int n = 0;
    for (const bg::ChatLine& line : m_lines)
        n += static_cast<int>(line.items.size());
    return n;
}

QString ChatView::linkWord(int number) const {
    if (number < 0 || number >= linkCount()) return {};
    return m_linkWords[static_cast<std::size_t>(number)];
}

QString ChatView::selectedPlainText() const {
    const QTextCursor selection = textCursor();
    const int from = selection.selectionStart();
    const int to = selection.selectionEnd();
    QString text;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        if (block.position() > from) text += '\n';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(from, fragment.position());
            const int end = std::min(to, fragment.position() + fragment.length());
            if (start >= end) continue;
            const QTextImageFormat image = fragment.charFormat().toImageFormat();
            if (image.isValid()) {
                const QUrl url(image.name());
                if (url.scheme() == kSmileyScheme)
                    for (int k = start; k < end; ++k)
                        text += QString(":)#%1").arg(url.path().toInt() + 10);
                continue;
            }
            text += fragment.text().mid(start - fragment.position(), end - start);
        }
    }
    return text;
}
