// Typing limits counted in Windows-1252 bytes.
#include "TextLimits.h"

#include "Page.h"
#include "platform/CodePage.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace vl
{

namespace
{

bool IsLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::Null || c == QChar::ParagraphSeparator ||
           c == QChar::LineSeparator;
}

// The lengths of the start and the end that two texts share, not overlapping in either.
std::pair<qsizetype, qsizetype> CommonEnds(const QString& a, const QString& b)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype start = 0;
    while (start < shorter && a[start] == b[start])
        ++start;
    qsizetype end = 0;
    while (end < shorter - start && a[a.size() - 1 - end] == b[b.size() - 1 - end])
        ++end;
    return {start, end};
}

// Tells the page that holds edit, on its prompt line, that characters were left out of an insertion.
void SayCharactersLeftOut(QWidget* edit)
{
    for (QWidget* w = edit; w; w = w->parentWidget()) {
        if (auto* page = qobject_cast<CPage*>(w)) {
            page->SayCharactersLeftOut();
            return;
        }
    }
}

} // namespace

LineLimitValidator::LineLimitValidator(QLineEdit* edit, int maxBytes)
    : QValidator(edit), m_edit(edit), m_maxBytes(maxBytes), m_acceptedText(edit->text())
{
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_acceptedText = text; });
}

QValidator::State LineLimitValidator::validate(QString& input, int&) const
{
    const auto [start, end] = CommonEnds(input, m_acceptedText);
    const QString inserted = input.mid(start, input.size() - start - end);
    QString kept;
    for (QChar c : inserted) {
        if (platform::IsCp1252(c))
            kept += c;
    }
    if (kept.size() < inserted.size())
        SayCharactersLeftOut(m_edit);
    qsizetype fits = kept.size();
    for (qsizetype i = 0; i < kept.size(); ++i) {
        if (IsLineBreak(kept[i])) {
            fits = i;
            break;
        }
    }
    // Every Windows-1252 character is one UTF-16 unit, so the length in units is the length in bytes.
    if (m_maxBytes > 0) {
        const qsizetype allowed = std::max<qsizetype>(m_maxBytes, m_acceptedText.size());
        fits = std::clamp<qsizetype>(allowed - start - end, 0, fits);
    }
    if (fits == inserted.size())
        return Acceptable;
    // Taking a changed text here would make the field forget its Undo history. Refuse the change and,
    // once the field has put its old text back, put what it keeps in place of what it replaced.
    const qsizetype replaced = m_acceptedText.size() - start - end;
    if (fits > 0 || replaced > 0) {
        QMetaObject::invokeMethod(
            m_edit,
            [edit = QPointer<QLineEdit>(m_edit), part = kept.left(fits), start = start, replaced] {
                if (!edit)
                    return;
                edit->setSelection(static_cast<int>(start), static_cast<int>(replaced));
                edit->insert(part);
            },
            Qt::QueuedConnection);
    }
    return Invalid;
}

void LimitLineEdit(QLineEdit* edit, int maxBytes)
{
    edit->setValidator(new LineLimitValidator(edit, maxBytes));
}

void SetFieldText(QLineEdit* edit, const QString& text)
{
    const QValidator* validator = edit->validator();
    edit->setValidator(nullptr);
    edit->setText(text);
    edit->setValidator(validator);
}

std::string FieldBytes(const QString& text)
{
    return platform::ToCp1252(text).value_or(std::string());
}

TextEditLimiter::TextEditLimiter(QPlainTextEdit* edit, int maxBytes)
    : QObject(edit), m_edit(edit), m_maxBytes(maxBytes)
{
    connect(edit->document(), &QTextDocument::contentsChange, this, &TextEditLimiter::OnContentsChange);
    connect(edit, &QPlainTextEdit::textChanged, this, &TextEditLimiter::OnTextChanged);
}

QString TextEditLimiter::FieldText() const
{
    // Unlike toPlainText, the raw text keeps a no-break space as it is.
    QString text = m_edit->document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

void TextEditLimiter::Load(const std::string& stored)
{
    QString text;
    std::vector<int> width;
    for (std::size_t i = 0; i < stored.size();) {
        int bytes = 1;
        if (stored[i] == '\r' || stored[i] == '\n') {
            if (stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n')
                bytes = 2;
            text += u'\n';
        } else {
            text += platform::FromCp1252(std::string_view(stored).substr(i, 1));
        }
        width.push_back(bytes);
        i += static_cast<std::size_t>(bytes);
    }
    m_loading = true;
    m_edit->setPlainText(text);
    m_loading = false;
    m_loaded = stored;
    m_loadedText = FieldText();
    m_loadedWidth = std::move(width);
    if (m_loadedText.size() != static_cast<qsizetype>(m_loadedWidth.size())) {
        // The field changed some character on the way in: it is all taken as typed.
        m_loaded = Stored();
        m_loadedText = FieldText();
        m_loadedWidth.assign(static_cast<std::size_t>(m_loadedText.size()), 1);
        for (std::size_t i = 0; i < m_loadedWidth.size(); ++i)
            m_loadedWidth[i] = m_loadedText[static_cast<qsizetype>(i)] == u'\n' ? 2 : 1;
    }
}

std::string TextEditLimiter::Stored() const
{
    const QString now = FieldText();
    const auto [start, end] = CommonEnds(now, m_loadedText);
    std::size_t head = 0;
    for (qsizetype i = 0; i < start; ++i)
        head += static_cast<std::size_t>(m_loadedWidth[static_cast<std::size_t>(i)]);
    std::size_t tail = 0;
    for (qsizetype i = m_loadedText.size() - end; i < m_loadedText.size(); ++i)
        tail += static_cast<std::size_t>(m_loadedWidth[static_cast<std::size_t>(i)]);
    std::string out = m_loaded.substr(0, head);
    for (QChar c : now.mid(start, now.size() - start - end)) {
        if (c == u'\n')
            out += "\r\n";
        else
            out += FieldBytes(QString(c));
    }
    out += m_loaded.substr(m_loaded.size() - tail);
    return out;
}

// Whether the text takes more lines than the box shows: the box does not scroll.
bool TextEditLimiter::TooTall() const
{
    const QTextDocument* doc = m_edit->document();
    const qreal margin = doc->documentMargin();
    const qreal width = m_edit->viewport()->width() - 2 * margin;
    const qreal room = m_edit->viewport()->height() - 2 * margin;
    if (width <= 0 || room <= 0)
        return false;
    qreal height = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        QTextLayout layout(block.text(), doc->defaultFont());
        layout.setTextOption(doc->defaultTextOption());
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setLeadingIncluded(true);
            height += line.height();
        }
        layout.endLayout();
    }
    return height > room;
}

void TextEditLimiter::OnTextChanged()
{
    QString text = FieldText();
    if (text == m_lastText)
        return;
    m_lastText = std::move(text);
    if (!m_loading)
        emit textChanged();
}

void TextEditLimiter::OnContentsChange(int position, int, int added)
{
    if (m_busy || m_loading || added <= 0)
        return;
    m_busy = true;
    QTextDocument* doc = m_edit->document();
    const int end = std::min(position + added, doc->characterCount() - 1);
    position = std::min(position, end);

    QTextCursor cursor(doc);
    cursor.joinPreviousEditBlock();
    // Drop the inserted characters that have no Windows-1252 byte, from the end backwards.
    bool leftOut = false;
    for (int i = end - 1; i >= position; --i) {
        const QChar c = doc->characterAt(i);
        if (c == QChar::ParagraphSeparator || platform::IsCp1252(c))
            continue;
        cursor.setPosition(i);
        cursor.setPosition(i + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        leftOut = true;
    }
    // Then trim the end of what was inserted until the whole text fits: the bytes in one cut, the
    // lines (which depend on where words wrap) a character at a time.
    int insertedEnd = std::min(end, doc->characterCount() - 1);
    const auto removeTail = [&](int from) {
        cursor.setPosition(from);
        cursor.setPosition(insertedEnd, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        insertedEnd = from;
    };
    if (m_maxBytes > 0) {
        const auto limit = static_cast<std::size_t>(m_maxBytes);
        std::size_t length = Stored().size();
        int cut = insertedEnd;
        for (; length > limit && cut > position; --cut)
            length -= doc->characterAt(cut - 1) == QChar::ParagraphSeparator ? 2 : 1;
        removeTail(cut);
        while (insertedEnd > position && Stored().size() > limit)
            removeTail(insertedEnd - 1);
    }
    while (insertedEnd > position && TooTall())
        removeTail(insertedEnd - 1);
    cursor.endEditBlock();
    m_busy = false;
    if (leftOut)
        SayCharactersLeftOut(m_edit);
}

} // namespace vl
