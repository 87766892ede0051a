#include "reports/engine/DesignActions.h"

#include <QFileInfo>

TfrDesignActions frDesignActions(const TfrDesignDocument& doc, bool clipboardHasObjects) {
    TfrDesignActions a;
    const bool band = doc.band() != nullptr;
    a.undo = doc.undoStack()->canUndo();
    a.redo = doc.undoStack()->canRedo();
    a.cutCopyDelete = !doc.selection().empty();
    a.paste = band && clipboardHasObjects;
    a.align = doc.selection().size() > 1;
    a.insert = band;
    a.bandDelete = band;
    a.bandUp = band && doc.currentBand() > 0;
    a.bandDown = band && doc.page() && doc.currentBand() + 1 < int(doc.page()->bands.size());
    return a;
}

QString frDesignerTitle(const TfrDesignDocument& doc) {
    QString t = QStringLiteral("Дизайнер печатной формы - %1").arg(QFileInfo(doc.filePath()).fileName());
    if (doc.isModified()) t += QStringLiteral(" *");
    return t;
}

QString frBandRemovalQuestion(const TfrBand& band) {
    if (band.objects.empty()) return {};
    return QStringLiteral("Удалить полосу «%1» вместе с ее объектами (%2)?").arg(band.name).arg(band.objects.size());
}
