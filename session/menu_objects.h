// The objects a context menu is built for. The board's own objects are
// their hit codes (-1 the background, -2 the caption strip, -5 the top bar,
// 100 + k card k); the rows and buttons that have a menu of their own are
// numbered here, so that a panel outside board/ can ask for the menu of one
// of its rows with a kContextMenu request (session/requests.h) whose
// `object` is one of these and whose `target` is the Case (or, for the
// category rows, {0, group, category, -1}) the row shows. They lie far
// below the hit codes (which run from -7 up), so no menu object is ever
// taken for a card or a panel.
#pragma once

#include <cstdint>

namespace nd {

enum MenuObject : int32_t {
    // The top bar's small logo button and its buttons for the board and for
    // the selected Case.
    kMenuLogoButton = -1000,
    kMenuTopColour,
    kMenuTopArrangement,
    kMenuTopKind,
    kMenuTopImportance,
    kMenuTopDifficulty,
    kMenuTopCognition,
    // The left bar: the category list, the Cases of the current whiteboard
    // and the Cases of the previewed category.
    kMenuCategoryEmpty,
    kMenuCategoryPlaceholder,  // "***「可在此新建」***": target.where.board is the free slot
    kMenuCategory,             // target.where.board is the category
    kMenuBoardCasesEmpty,
    kMenuBoardCase,
    kMenuPreviewCase,
    // Rows of the analysis views.
    kMenuSearchResult,
    kMenuTimelineEntry,
    kMenuListRow,
    kMenuAssessmentEntry,
    kMenuAssessmentCase,  // the report shows a Case but no entry is selected
    // The content editor.
    kMenuEditorKind,
    kMenuEditorImportance,
    kMenuEditorDifficulty,
    kMenuEditorCognition,
    kMenuEditorLinkRow,
    kMenuEditorResource,
    kMenuEditorResourceArea,  // the resource area with no resource selected
    kMenuEditorBody,          // elsewhere, no text selected, reading
    kMenuEditorBodyEditing,   // the same in edit mode: pasting is offered
    kMenuEditorSelection,     // text is selected
};

}  // namespace nd
