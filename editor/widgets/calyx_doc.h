// The editor's document: a thin window-side wrapper around the bank
// document. It shows what the bank document decides (messages, the close
// question) and passes on to its window when the modified state (as the
// bank document announces it) or the name changes.
#pragma once

#include <QObject>
#include <QString>

#include "editor/core/bank_document.h"
#include "editor/core/conversion_offer.h"
#include "editor/core/interface_language.h"

namespace calyx::editor {

class GameStrings;

class CCalyxDoc : public QObject {
    Q_OBJECT
public:
    CCalyxDoc(LinkTable& links, const GameStrings& strings, QObject* parent = nullptr);

    // Loads the bank; a failure or a load warning is shown. False when the
    // bank did not open.
    bool openDocument(const QString& path, const InstallInfo& install);
    // Saves under `path`; a failure is shown and leaves the document
    // modified. Over its own file changed on disk by another program, asks
    // first (No: nothing is saved).
    bool saveDocument(const QString& path);
    // Before closing a modified document: Yes/No/Cancel. `saveNow` runs
    // File > Save (which may ask for a name). True when it may close.
    bool askToSave(const std::function<bool()>& saveNow);

    bool isModified() const { return document_.isModified(); }
    void setModified(bool modified) { document_.setModified(modified); }
    QString pathName() const;
    // What the window's title shows: the file name, or the new document's title.
    QString title() const;
    void setTitle(const QString& title);

    BankDocument& document() { return document_; }
    // The language of the editor's newer questions about this document.
    void setInterfaceLanguage(InterfaceLanguage language) { language_ = language; }
    InterfaceLanguage interfaceLanguage() const { return language_; }
    // The offer to convert a WAV file refused for its format, into this
    // document's converted copies (asked and answered in message boxes).
    ConversionOffer conversionOffer();
    bank::SoundBank& bank() { return document_.bank(); }

signals:
    void modifiedChanged(bool modified);
    void titleChanged();

private:
    void show(const DocumentReport& report) const;
    bool askToOverwriteChange() const;

    const GameStrings& strings_;
    BankDocument document_;
    InterfaceLanguage language_ = InterfaceLanguage::French;
};

}  // namespace calyx::editor
