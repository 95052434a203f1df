// Typing limits counted in Windows-1252 bytes, and the refusal of characters the code page lacks.
#pragma once

#include <QObject>
#include <QValidator>
#include <string>

class QLineEdit;
class QPlainTextEdit;

namespace vl
{

// Refuses text holding a character that Windows-1252 cannot hold, and trims what is typed or pasted
// into a one-line field from its end so that the field never grows beyond maxBytes. A longer text that
// the program put in may be shortened but not lengthened.
class LineLimitValidator : public QValidator
{
  public:
    LineLimitValidator(QLineEdit* edit, int maxBytes);
    State validate(QString& input, int& pos) const override;

  private:
    int m_maxBytes;
    QString m_acceptedText; // the field's text before the change being judged
};

// A one-line field: at most maxBytes typed or pasted (none: zero), Windows-1252 only. Text the program
// puts in is not cut.
void LimitLineEdit(QLineEdit* edit, int maxBytes);
// Puts text into a limited one-line field without cutting or judging it.
void SetFieldText(QLineEdit* edit, const QString& text);

// A multi-line field holds its line breaks as LF; the configuration holds them as CR LF.
QString MultiLineFieldText(const std::string& stored);
std::string StoredMultiLineText(QString fieldText);
// The Windows-1252 bytes of a field's text; the fields take no other characters.
std::string FieldBytes(const QString& text);

// The bytes a multi-line field's text takes when stored, each line break counting two (CR LF).
int StoredLength(const QString& plainText);

// A multi-line field: what is typed or pasted is trimmed from its end until the whole text fits in
// maxBytes, and characters without a Windows-1252 byte are dropped; one Undo takes back the paste
// and the trim together. A limit of zero or less means no limit.
class TextEditLimiter : public QObject
{
    Q_OBJECT

  public:
    TextEditLimiter(QPlainTextEdit* edit, int maxBytes);
    void SetLimit(int maxBytes) { m_maxBytes = maxBytes; }
    // While suspended (the program filling the field) nothing is trimmed.
    void SetSuspended(bool suspended) { m_suspended = suspended; }

  signals:
    // The field's text is different from what it was at the last change. A keystroke that the limit
    // takes back again reports no change.
    void textChanged();

  private:
    void OnContentsChange(int position, int removed, int added);
    void OnTextChanged();

    QString m_lastText;
    QPlainTextEdit* m_edit;
    int m_maxBytes;
    bool m_busy = false;
    bool m_suspended = false;
};

} // namespace vl
