#pragma once
// The designer's commands as a table, in the order of its two toolbars: the
// window makes its actions from the rows and draws the pictures they name.
#include <QKeySequence>
#include <QList>
#include <vector>

enum class TfrDesignBar { Main, Insert };
enum class TfrDesignPicture {
    None, Save, Close, Back, Forward, Trash,
    AlignLeft, AlignRight, AlignTop, AlignBottom, SameWidth, SameHeight,  // as TfrAlignKind
    Up, Down, Preview,
};

struct TfrDesignCommand {
    const char* name;  // the action's object name
    const char* text;
    const char* tip;
    TfrDesignBar bar;
    bool separatorBefore = false;
    TfrDesignPicture picture = TfrDesignPicture::None;
    QList<QKeySequence> keys = {};
    bool checkable = false;  // checkable commands start checked
};

const std::vector<TfrDesignCommand>& frDesignCommands();
