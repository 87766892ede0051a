#include "reports/engine/DesignToolbar.h"

const std::vector<TfrDesignCommand>& frDesignCommands() {
    using B = TfrDesignBar;
    using P = TfrDesignPicture;
    static const std::vector<TfrDesignCommand> table = {
        {"acDesignSave", "Сохранить", "Сохранить печатную форму", B::Main, false, P::Save, {QKeySequence::Save}},
        {"acDesignClose", "Закрыть", "Закрыть дизайнер", B::Main, false, P::Close},
        {"acUndo", "Отменить", "Отменить (Ctrl+Z)", B::Main, true, P::Back, {QKeySequence::Undo}},
        {"acRedo", "Повторить", "Повторить (Ctrl+Y)", B::Main, false, P::Forward,
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo}},
        {"acCut", "Вырезать", "Вырезать (Ctrl+X)", B::Main, true, P::None, {QKeySequence::Cut}},
        {"acCopy", "Копировать", "Копировать (Ctrl+C)", B::Main, false, P::None, {QKeySequence::Copy}},
        {"acPaste", "Вставить", "Вставить (Ctrl+V)", B::Main, false, P::None, {QKeySequence::Paste}},
        {"acDelete", "Удалить", "Удалить выбранные объекты (Del)", B::Main, false, P::Trash},
        {"acAlignLeft", "По левому краю", "Выровнять по левому краю первого выбранного", B::Main, true, P::AlignLeft},
        {"acAlignRight", "По правому краю", "Выровнять по правому краю первого выбранного", B::Main, false,
         P::AlignRight},
        {"acAlignTop", "По верхнему краю", "Выровнять по верхнему краю первого выбранного", B::Main, false,
         P::AlignTop},
        {"acAlignBottom", "По нижнему краю", "Выровнять по нижнему краю первого выбранного", B::Main, false,
         P::AlignBottom},
        {"acSameWidth", "Одинаковая ширина", "Ширина как у первого выбранного", B::Main, false, P::SameWidth},
        {"acSameHeight", "Одинаковая высота", "Высота как у первого выбранного", B::Main, false, P::SameHeight},
        {"acSnapToGrid", "Сетка", "Привязывать объекты к сетке; для выбранных — выровнять по сетке", B::Main, true,
         P::None, {}, true},
        {"acAlignToGrid", "По сетке", "Поставить выбранные объекты на сетку", B::Main},
        {"acInsertMemo", "Текст", "Вставить текст", B::Insert},
        {"acInsertLine", "Линия", "Вставить линию", B::Insert},
        {"acInsertRect", "Прямоугольник", "Вставить прямоугольник", B::Insert},
        {"acInsertPicture", "Рисунок...", "Вставить рисунок из файла (он сохраняется внутри формы)", B::Insert},
        {"acInsertBarcode", "Штрихкод", "Вставить штрихкод", B::Insert},
        {"acInsertField", "Переменная/поле", "Вставить выбранную в списке переменную или поле", B::Insert},
        {"acBandAdd", "Добавить полосу", "Добавить полосу после текущей", B::Insert, true},
        {"acBandDelete", "Удалить полосу", "Удалить текущую полосу", B::Insert},
        {"acBandUp", "Полосу выше", "Переместить текущую полосу вверх", B::Insert, false, P::Up},
        {"acBandDown", "Полосу ниже", "Переместить текущую полосу вниз", B::Insert, false, P::Down},
        {"acPreview", "Просмотр", "Предварительный просмотр с примером данных", B::Insert, true, P::Preview},
    };
    return table;
}
