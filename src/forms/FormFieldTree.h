#pragma once
// The tree of what a form offers the designer for insertion: its variables,
// each dataset's fields and what the engine answers in any form.
#include <QString>
#include <vector>

// A group (with entries, shown open) or an entry. An entry's expression is
// what inserting it puts between the brackets; a note has none.
struct TfrFieldTreeNode {
    QString caption;
    QString expression;
    std::vector<TfrFieldTreeNode> children;
};

// The tree for a form by its file name (as frFormVocabulary takes it).
std::vector<TfrFieldTreeNode> frFormFieldTree(const QString& formFile);
