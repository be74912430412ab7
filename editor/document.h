// The document: the file the edit control's text belongs to, how Save writes it, and whether the
// text has changes that file does not hold. Only its writers change it, so a state that
// belongs together (a file with its identity and format, or none of them) is set together.
#pragma once

#include "editor/edit_record.h"
#include "encoding/text_format.h"
#include "files/file_identity.h"

#include <string>

struct Document {
public:
    // The text is now that of a file (opened, saved or restored from a recovery copy): its path,
    // empty when the text has no file to go back to; the file as the editor last knew it; the
    // encoding and line ends a save writes; the counts of a file that mixes CR LF and LF, which
    // a save writes in one form (kept only when they do mix); whether the file holds the text;
    // and which of its lines ended in LF alone, for a save that keeps them as they are.
    void adopt(const std::wstring& path, const FileIdentity& identity, TextFormat format,
               const LineEndCounts& lineEnds, bool saved, LineEndForms forms = {});
    // The document's file as it is now, holding what it held: a save that failed put it back.
    void knowFile(const FileIdentity& identity);
    // A new, empty document: no file, a new document's format, nothing to save.
    void forget();
    // The user changed the text.
    void change();
    // Undo or Redo brought the text back to what the file holds: saved again, unless the encoding
    // or the line ends were chosen since.
    void backToSaved();
    // The user chose the encoding or the line ends the next save writes: the file no longer holds
    // what a save would write. Choosing the line ends settles a mixed file's form.
    void choose(Encoding encoding);
    void choose(LineEnd lineEnd);

    const std::wstring& filePath() const { return filePath_; }
    // The part of the path after its last '/' or '\'; empty for a document without a file.
    std::wstring fileName() const;
    const FileIdentity& identity() const { return identity_; }
    TextFormat format() const { return format_; }
    const LineEndCounts& mixedLineEnds() const { return mixedLineEnds_; }
    const LineEndForms& lineEndForms() const { return lineEndForms_; }
    bool saved() const { return saved_; }
    // The encoding or the line ends were chosen since the text was last its file's.
    bool formatChosen() const { return formatChosen_; }

    // Every edit since the text was opened or started, for Undo, Redo and the recovery journal.
    EditRecord& edits() { return edits_; }

private:
    std::wstring filePath_;
    FileIdentity identity_;
    TextFormat format_ = newDocumentFormat();
    LineEndCounts mixedLineEnds_;
    LineEndForms lineEndForms_;
    bool saved_ = true;
    bool formatChosen_ = false; // since the text was last the file's
    EditRecord edits_;
};

extern struct Document Document;
