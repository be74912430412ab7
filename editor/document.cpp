// The document's writers.
#include "editor/document.h"

#include "encoding/text_detect.h"
#include "files/file_io.h"

#include <utility>

void Document::adopt(const std::wstring& path, const FileIdentity& identity, TextFormat format,
                     const LineEndCounts& lineEnds, bool saved, LineEndForms forms)
{
    lineEndForms_ = std::move(forms);
    filePath_ = path;
    identity_ = identity;
    format_ = format;
    mixedLineEnds_ = mixesLineEnds(lineEnds) ? lineEnds : LineEndCounts{};
    saved_ = saved;
    formatChosen_ = false;
    if (saved)
        edits_.markSaved();
    else
        edits_.forgetSaved();
}

void Document::knowFile(const FileIdentity& identity)
{
    identity_ = identity;
}

void Document::forget()
{
    adopt({}, {}, newDocumentFormat(), {}, true);
}

void Document::change()
{
    saved_ = false;
}

void Document::backToSaved()
{
    saved_ = !formatChosen_;
}

void Document::choose(Encoding encoding)
{
    formatChosen_ = true;
    format_.encoding = encoding;
    saved_ = false;
}

void Document::choose(LineEnd lineEnd)
{
    formatChosen_ = true;
    format_.lineEnd = lineEnd;
    mixedLineEnds_ = {};
    saved_ = false;
}

std::wstring Document::fileName() const
{
    return fileNameOf(filePath_);
}
