// Typing limits counted in Windows-1252 bytes.
#include "TextLimits.h"

#include "platform/CodePage.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace vl
{

LineLimitValidator::LineLimitValidator(QLineEdit* edit, int maxBytes)
    : QValidator(edit), m_maxBytes(maxBytes), m_acceptedText(edit->text())
{
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_acceptedText = text; });
}

QValidator::State LineLimitValidator::validate(QString& input, int& pos) const
{
    for (QChar c : std::as_const(input)) {
        if (!platform::IsCp1252(c))
            return Invalid;
    }
    // Every Windows-1252 character is one UTF-16 unit, so the length in units is the length in bytes.
    if (m_maxBytes <= 0)
        return Acceptable;
    const qsizetype allowed = std::max<qsizetype>(m_maxBytes, m_acceptedText.size());
    if (input.size() > allowed) {
        const qsizetype excess = input.size() - allowed;
        const qsizetype start = pos - excess;
        if (start < 0)
            return Invalid;
        input.remove(start, excess);
        pos = static_cast<int>(start);
        // Nothing of what was typed is left: refuse the keystroke, so that the field reports no edit.
        if (input == m_acceptedText)
            return Invalid;
    }
    return Acceptable;
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

QString MultiLineFieldText(const std::string& stored)
{
    QString text = platform::FromCp1252(stored);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string StoredMultiLineText(QString fieldText)
{
    fieldText.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FieldBytes(fieldText);
}

std::string FieldBytes(const QString& text)
{
    return platform::ToCp1252(text).value_or(std::string());
}

int StoredLength(const QString& plainText)
{
    return static_cast<int>(plainText.size() + plainText.count(QLatin1Char('\n')));
}

TextEditLimiter::TextEditLimiter(QPlainTextEdit* edit, int maxBytes)
    : QObject(edit), m_edit(edit), m_maxBytes(maxBytes)
{
    connect(edit->document(), &QTextDocument::contentsChange, this, &TextEditLimiter::OnContentsChange);
    connect(edit, &QPlainTextEdit::textChanged, this, &TextEditLimiter::OnTextChanged);
}

void TextEditLimiter::OnTextChanged()
{
    QString text = m_edit->toPlainText();
    if (text == m_lastText)
        return;
    m_lastText = std::move(text);
    emit textChanged();
}

void TextEditLimiter::OnContentsChange(int position, int, int added)
{
    if (m_busy || m_suspended || added <= 0)
        return;
    m_busy = true;
    QTextDocument* doc = m_edit->document();
    const int end = std::min(position + added, doc->characterCount() - 1);
    position = std::min(position, end);

    QTextCursor cursor(doc);
    cursor.joinPreviousEditBlock();
    // Drop the inserted characters that have no Windows-1252 byte, from the end backwards.
    for (int i = end - 1; i >= position; --i) {
        const QChar c = doc->characterAt(i);
        if (c == QChar::ParagraphSeparator || platform::IsCp1252(c))
            continue;
        cursor.setPosition(i);
        cursor.setPosition(i + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    // Then trim the end of what was inserted until the whole text fits.
    if (m_maxBytes > 0) {
        int insertedEnd = std::min(end, doc->characterCount() - 1);
        int length = StoredLength(doc->toPlainText());
        while (length > m_maxBytes && insertedEnd > position) {
            const QChar c = doc->characterAt(insertedEnd - 1);
            length -= c == QChar::ParagraphSeparator ? 2 : 1;
            cursor.setPosition(insertedEnd - 1);
            cursor.setPosition(insertedEnd, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            --insertedEnd;
        }
    }
    cursor.endEditBlock();
    m_busy = false;
}

} // namespace vl
