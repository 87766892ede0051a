#include "books/core/BookActions.h"

namespace books {

namespace {

BookAction command(const char* name, const QString& caption, const QStringList& keys, const char* icon) {
    return {QString::fromLatin1(name), caption, keys, QString::fromLatin1(icon)};
}

}  // namespace

QList<BookAction> BookActions(bool tree) {
    QList<BookAction> l;
    BookAction copy = command("acAppendCopy", QStringLiteral("Создать запись копированием"), {QStringLiteral("Shift+Ins")},
                              "SP_FileLinkIcon");
    BookAction del = command("acDelete", QStringLiteral("Удалить запись"),
                             {tree ? QStringLiteral("Del") : QStringLiteral("Ctrl+Del")}, "SP_TrashIcon");
    BookAction edit = command("acEdit", QStringLiteral("Редактировать запись"), {QStringLiteral("F2")},
                              "SP_FileDialogDetailedView");
    copy.needsRows = del.needsRows = edit.needsRows = true;
    del.gridKey = true;
    BookAction enter = command("acEnter", QStringLiteral("Вставить в поле"),
                               {QStringLiteral("Ctrl+Return"), QStringLiteral("Ctrl+Enter")}, "SP_DialogApplyButton");
    enter.hidden = true;
    BookAction find = command("acFastFind", QStringLiteral("Быстрый поиск"), {QStringLiteral("Ctrl+F")},
                              "SP_FileDialogContentsView");
    find.checkable = true;
    l << command("acAppend", QStringLiteral("Создать запись"), {QStringLiteral("Ins")}, "SP_FileIcon") << copy << del
      << edit << command("acReload", QStringLiteral("Обновить данные"), {QStringLiteral("F5")}, "SP_BrowserReload")
      << command("acHelp", QStringLiteral("Справка"), {QStringLiteral("F1")}, "SP_DialogHelpButton") << enter
      << command("acExport", QStringLiteral("Экспортировать данные"), {}, "SP_DialogSaveButton")
      << command("acImport", QStringLiteral("Импортировать данные"), {}, "SP_DialogOpenButton") << find;
    if (tree) {
        l << command("acTreeNew", QStringLiteral("Добавить группу"), {}, "SP_FileDialogNewFolder")
          << command("acTreeDelete", QStringLiteral("Удалить группу"), {}, "SP_DialogDiscardButton")
          << command("acTreeRename", QStringLiteral("Редактировать группу"), {}, "SP_FileDialogInfoView");
        BookAction byGroups = command("acViewTree", QStringLiteral("Просмотр по группам"), {}, "SP_DirOpenIcon");
        BookAction asList = command("acViewPlain", QStringLiteral("Просмотр списком"), {}, "SP_FileDialogListView");
        byGroups.checkable = asList.checkable = byGroups.view = asList.view = byGroups.checked = true;
        l << byGroups << asList;
    }
    return l;
}

BookAction SortButton() { return command("sbSort", QStringLiteral("Выбрать порядок сортировки"), {}, "SP_ArrowDown"); }

QString BookToolbarName(bool tree) { return tree ? QStringLiteral("ToolBar2") : QStringLiteral("ToolBar1"); }

QStringList BookToolbar(bool tree) {
    QStringList l;
    if (tree) l << "acTreeNew" << "acTreeDelete" << "acTreeRename" << "-" << "acViewTree" << "acViewPlain" << "-";
    l << "acAppend" << "acAppendCopy" << "acDelete" << "acEdit" << "-" << "acReload" << "-" << "sbSort" << "acFastFind"
      << "acExport" << "acImport" << "-" << "acHelp" << "-" << "acEnter";
    return l;
}

}  // namespace books
