// Typing limits counted in Windows-1252 bytes, and the refusal of characters the code page lacks.
#pragma once

#include <QObject>
#include <QValidator>
#include <string>
#include <vector>

class QLineEdit;
class QPlainTextEdit;

namespace vl
{

// What is typed or pasted into a one-line field loses the characters that Windows-1252 cannot hold
// (the page's prompt line says so), ends at its first line break or NUL, and is trimmed from its end
// so that the field never grows beyond maxBytes. A longer text that the program put in may be
// shortened but not lengthened. A paste that had to be changed is refused and the part kept inserted
// in its place, so that the field's own Undo takes it back.
class LineLimitValidator : public QValidator
{
  public:
    LineLimitValidator(QLineEdit* edit, int maxBytes);
    State validate(QString& input, int& pos) const override;

  private:
    QLineEdit* m_edit;
    int m_maxBytes;
    QString m_acceptedText; // the field's text before the change being judged
};

// A one-line field: at most maxBytes typed or pasted (none: zero), Windows-1252 only, one line.
// Text the program puts in is not cut.
void LimitLineEdit(QLineEdit* edit, int maxBytes);
// Puts text into a limited one-line field without cutting or judging it.
void SetFieldText(QLineEdit* edit, const QString& text);

// The Windows-1252 bytes of a field's text; the fields take no other characters.
std::string FieldBytes(const QString& text);

// A multi-line field over a stored text whose line breaks are CR LF. What is typed or pasted is
// trimmed from its end until the whole text fits in maxBytes (a new line break counting two) and in
// the lines the box shows, and characters without a Windows-1252 byte are dropped (the page's prompt
// line says so); one Undo takes back the paste and the trim together. A limit of zero or less means no
// byte limit.
class TextEditLimiter : public QObject
{
    Q_OBJECT

  public:
    TextEditLimiter(QPlainTextEdit* edit, int maxBytes);
    void SetLimit(int maxBytes) { m_maxBytes = maxBytes; }

    // Shows the stored bytes; a lone CR shows as a line break too.
    void Load(const std::string& stored);
    // The bytes to store: whatever the user left untouched is given back exactly as it was loaded
    // (a lone CR, a no-break space), the rest as typed, each new line break as CR LF.
    std::string Stored() const;

  signals:
    // The field's text is different from what it was at the last change. A keystroke that the limit
    // takes back again reports no change.
    void textChanged();

  private:
    QString FieldText() const;
    bool TooTall() const;
    void OnContentsChange(int position, int removed, int added);
    void OnTextChanged();

    QPlainTextEdit* m_edit;
    int m_maxBytes;
    std::string m_loaded;           // the bytes last loaded
    QString m_loadedText;           // the field's text right after loading them
    std::vector<int> m_loadedWidth; // for each character of m_loadedText, the bytes it stands for
    QString m_lastText;
    bool m_busy = false;
    bool m_loading = false;
};

} // namespace vl
