#pragma once
// ChatView: the chat room's rich text view `mainchat`.
//
// It keeps the laid-out lines (see chatlayout.h) and the table of 15 text styles, and draws
// the lines with the styles as they are now: a style is shared by every item that uses it, so
// a sender's new colour recolours that sender's earlier lines at the next full reformat.
// addLine() appends one chat line ("<style>+<text>") in a colour and brings it into sight
// unless scrolling is off. A click on a link word emits linkClicked() with that very word
// (its trailing blank included), whatever was cleared or wrapped before.

#include "chatlayout.h"

#include <QColor>
#include <QTextBrowser>

#include <array>
#include <vector>

class ChatView : public QTextBrowser {
    Q_OBJECT
  public:
    struct Style {
        QColor colour;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        int size = 10;
        friend bool operator==(const Style&, const Style&) = default;
    };

    explicit ChatView(QWidget* parent = nullptr);

    // Appends one line; the colour goes into the line's style with the bold flag.
    void addLine(const QString& line, const QColor& colour);
    // Size of all 15 styles; it shows when the view is next reformatted.
    void setTextSize(int size);
    // The size of style 0.
    int textSize() const { return m_styles[0].size; }
    const Style& textStyle(int n) const { return m_styles[static_cast<std::size_t>(n)]; }
    // Redraws every line with the current styles.
    void reformat();
    void setScrollOff(bool off);
    bool scrollOff() const { return m_scrollOff; }
    // Removes every line; the link table keeps counting.
    void clear();
    // Items drawn so far (text words and pictures).
    int itemCount() const;
    const std::vector<bg::ChatLine>& lines() const { return m_lines; }
    const bg::LinkTable& linkTable() const { return m_links; }
    // The link word at a link's place in the document, as a click would deliver it.
    QString linkWord(int number) const;
    // The selection as plain text: lines end in "\n" and a smiley reads as its code (":)#10").
    QString selectedPlainText() const;
    int linkCount() const { return static_cast<int>(m_linkWords.size()); }

  signals:
    void linkClicked(const QString& word);
    void scrollOffChanged(bool off);

  protected:
    QVariant loadResource(int type, const QUrl& name) override;

  private:
    void appendLine(const bg::ChatLine& line);
    void scrollToEnd();
    QTextCharFormat format(const bg::ChatItem& item) const;

    std::array<Style, bg::kChatStyles> m_styles;
    std::array<Style, bg::kChatStyles> m_drawnStyles; // as the document shows them
    std::vector<bg::ChatLine> m_lines;
    std::vector<QString> m_linkWords; // the document's links in order, as their own text
    bg::LinkTable m_links;
    int m_drawnLines = 0;
    bool m_scrollOff = false;
};
