// The General page.
#include "CVLGenView.h"

#include "LogoPicture.h"
#include "TextLimits.h"
#include "document/CVLConfigDoc.h"
#include "document/CommandIds.h"
#include "model/AtomicFile.h"
#include "model/LogoCheck.h"
#include "model/Rules.h"
#include "model/SectionRing.h"
#include "model/Texts.h"
#include "platform/CodePage.h"
#include "platform/FileDialogService.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "ui_CVLGenView.h"

#include <QDir>
#include <QFocusEvent>
#include <QIcon>
#include <QPixmap>

namespace vl
{

CVLGenView::CVLGenView(CVLConfigDoc* document, PageHost* host, QWidget* parent)
    : CPage(kGeneralPageId, host, parent), m_document(document), m_ui(std::make_unique<Ui::CVLGenView>())
{
    m_ui->setupUi(this);
    // Through an icon, so that a scaled screen gets the drawing made at twice the size.
    m_ui->previewFrame->setPixmap(
        QIcon(QStringLiteral(":/vlconfig/general.png")).pixmap(QSize(144, 80), devicePixelRatioF()));

    LimitLineEdit(m_ui->titleEdit, static_cast<int>(rules::kGeneralTitleLimit));
    LimitLineEdit(m_ui->logoPathEdit, 0);
    m_descriptionLimiter =
        new TextEditLimiter(m_ui->descriptionEdit, static_cast<int>(rules::kGeneralDescriptionLimit));

    connect(m_ui->titleEdit, &QLineEdit::textEdited, this, &CVLGenView::OnUserChange);
    connect(m_ui->logoPathEdit, &QLineEdit::textEdited, this, &CVLGenView::OnUserChange);
    connect(m_descriptionLimiter, &TextEditLimiter::textChanged, this, &CVLGenView::OnUserChange);
    connect(m_ui->nextButton, &QPushButton::clicked, this, [this] { Host()->SwitchPage(kProductPageId); });
    connect(m_ui->browseButton, &QPushButton::clicked, this, &CVLGenView::OnBrowseLogo);
    // Enter in a one-line field presses the page's default button, as in a dialog.
    connect(m_ui->titleEdit, &QLineEdit::returnPressed, m_ui->nextButton, &QPushButton::click);
    connect(m_ui->logoPathEdit, &QLineEdit::returnPressed, m_ui->nextButton, &QPushButton::click);

    for (QWidget* field :
         {static_cast<QWidget*>(m_ui->titleEdit), static_cast<QWidget*>(m_ui->descriptionEdit),
          static_cast<QWidget*>(m_ui->logoPathEdit)})
        field->installEventFilter(this);
}

CVLGenView::~CVLGenView() = default;

void CVLGenView::OnUserChange()
{
    if (!m_filling)
        m_document->SetModifiedFlag(true);
}

void CVLGenView::OnInitialUpdate()
{
    OnUpdate();
}

void CVLGenView::OnUpdate()
{
    m_pRing = m_document->m_pRing;
    if (!m_pRing)
        return;
    const SectionNode* general = FindSection(m_pRing, kGeneralSection, kGeneralSection);
    m_filling = true;
    if (general) {
        SetFieldText(m_ui->logoPathEdit, platform::FromCp1252(general->path.value_or(std::string())));
        SetFieldText(m_ui->titleEdit, platform::FromCp1252(general->title));
        m_descriptionLimiter->Load(general->description.value_or(std::string()));
    } else {
        SetFieldText(m_ui->logoPathEdit, QString());
        SetFieldText(m_ui->titleEdit, QString());
        m_descriptionLimiter->Load(std::string());
    }
    m_filling = false;
    m_ui->titleEdit->setFocus();
}

bool CVLGenView::CommitPage()
{
    const std::string logo = FieldBytes(m_ui->logoPathEdit->text());
    const std::string title = FieldBytes(m_ui->titleEdit->text());
    const std::string description = m_descriptionLimiter->Stored();

    if (!m_pRing) {
        platform::ShowMessage(QStringLiteral("Create New file or Open Existing File to proceed.."));
        return false;
    }
    std::string refusal = rules::GeneralTitleProblem(title);
    if (refusal.empty())
        refusal = rules::GeneralDescriptionProblem(description);
    if (!refusal.empty()) {
        platform::ShowMessage(QString::fromStdString(refusal));
        return false;
    }
    SectionNode* general = FindSection(m_pRing, kGeneralSection, kGeneralSection);
    if (!general) {
        general = CreateSectionNode(kGeneralSection, kGeneralSection, "", std::nullopt, std::nullopt);
        InsertSectionAfter(LastSection(m_pRing), general);
    }
    general->path = logo;
    SetField(general->title, title);
    general->description = description;
    return true;
}

void CVLGenView::OnBrowseLogo()
{
    platform::CurrentDirectoryKeeper keep;
    platform::FileDialogRequest request;
    request.filter = QString::fromLatin1(kLogoFilter);
    request.initialName = QStringLiteral("*.pcx");
    request.defaultExtension = QStringLiteral("*.pcx");
    const QString configFolder = m_document->ConfigFolder();
    const auto picked = ChooseFileIn(request, configFolder);
    if (!picked)
        return;
    // A picture to make the logo from may lie anywhere: the logo is made where the launcher looks.
    std::string message;
    if (!CheckLogoFile(LocalPath(*picked), message)) {
        // Anything the check could read but not take may be a picture to make the logo from.
        const bool readable = message == texts::kLogoNotPcx2 || message == texts::kLogoTooLarge;
        if (readable && OfferLogoFrom(*picked))
            return;
        QString text = QStringLiteral("Error:\n") + QString::fromLocal8Bit(message);
        if (readable)
            text +=
                QStringLiteral("\nNor is it a picture that a logo can be made from (PNG, JPEG, BMP, GIF, SVG "
                               "or PCX).");
        platform::ShowMessage(text);
        return;
    }
    const auto chosen = MediumFileOf(*picked, configFolder);
    if (!chosen)
        return;
    SetFieldText(m_ui->logoPathEdit, chosen->dosPath);
    m_document->SetModifiedFlag(true);
    m_document->TakeFolder(chosen->folder);
}

bool CVLGenView::OfferLogoFrom(const QString& picturePath)
{
    std::string bytes;
    if (ReadRegularFile(LocalPath(picturePath), bytes, kMaxPictureBytes) != ReadOutcome::Read)
        return false;
    const auto picture = ReadLogoPicture(bytes);
    if (!picture)
        return false;
    // Beside the configuration, where the launcher looks; a configuration never saved will most
    // likely be saved beside its pictures.
    QString folder = m_document->ConfigFolder();
    if (folder.isEmpty())
        folder = platform::FolderOf(picturePath);
    const QString name = LogoFileName(folder, picturePath);
    const QString shownFolder = QDir::toNativeSeparators(QDir::cleanPath(folder));
    const QString offer =
        QStringLiteral("%1 (%2, %3 by %4 pixels) is not a PCX version 2 image of at most 120 by 120 pixels, "
                       "the only kind of logo the launcher shows.\n\nMake the logo %5 from it, %6 by %7 "
                       "pixels in 16 colours, in %8?\nThe picture itself stays as it is.")
            .arg(platform::FileNameOf(picturePath), picture->kind)
            .arg(picture->size.width())
            .arg(picture->size.height())
            .arg(name)
            .arg(picture->logo.width())
            .arg(picture->logo.height())
            .arg(shownFolder);
    if (platform::ShowMessage(offer, platform::MsgButtons::YesNo, platform::MsgIcon::Question) !=
        platform::MsgAnswer::Yes)
        return true;
    if (FolderHolds(folder, name) &&
        platform::ShowMessage(
            QStringLiteral("%1 already exists in %2.\nDo you want to replace it with the logo "
                           "made from %3?")
                .arg(name, shownFolder, platform::FileNameOf(picturePath)),
            platform::MsgButtons::YesNo, platform::MsgIcon::Question) != platform::MsgAnswer::Yes)
        return true;
    if (const Status written = WriteFileAtomically(LocalPath(folder + name), LogoFileBytes(picture->logo));
        !written) {
        platform::ShowMessage(
            QStringLiteral("Error:\nUnable to write the logo %1.\n%2")
                .arg(QDir::toNativeSeparators(folder + name), QString::fromLocal8Bit(written.Reason())));
        return true;
    }
    SetFieldText(m_ui->logoPathEdit, name);
    m_document->SetModifiedFlag(true);
    m_document->TakeFolder(folder);
    return true;
}

bool CVLGenView::UpdateCommand(int id, platform::CommandState&)
{
    return IsEditCommand(id);
}

bool CVLGenView::ExecuteCommand(int id)
{
    return SendEditCommand(id);
}

bool CVLGenView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_ui->titleEdit)
            Host()->SetStatusPrompt(QStringLiteral("Enter a title of less than 18 characters."));
        else if (watched == m_ui->descriptionEdit)
            Host()->SetStatusPrompt(QStringLiteral("Enter a description of less than 240 characters."));
        else if (watched == m_ui->logoPathEdit)
            Host()->SetStatusPrompt(QStringLiteral("Enter the path/filename for company logo."));
    } else if (event->type() == QEvent::FocusOut) {
        Host()->SetStatusPrompt(QString());
    }
    return CPage::eventFilter(watched, event);
}

} // namespace vl
