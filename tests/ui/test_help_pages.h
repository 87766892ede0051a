#pragma once
// The built help file and the pages the program's windows open by name.
#include <QString>
#include <QStringList>

inline QString builtHelpFile() { return QStringLiteral(OBRIX_HELP_CHM); }

// Every page a help button or a help command of a window opens.
inline const QStringList& contextHelpPages() {
    static const QStringList pages = {
        "_docum_edit.htm",      "_docum_pos_edit.htm", "_vyb_rabper.htm",      "_rabper_uprav.htm",
        "_options_db.htm",      "_options_sved.htm",   "_options_param.htm",   "_books_.htm",
        "_books_color.htm",     "_books_material.htm", "_books_comment.htm",   "_books_zakazch.htm",
        "_books_operator.htm",  "_books_export_import.htm", "_rep_kvit.htm",    "_rep_prihod.htm",
        "_rep_rashod.htm",      "_rep_realiz.htm",     "_rep_nalich.htm",      "_rep_designer.htm",
    };
    return pages;
}
