// Receives a document from the reader library, call by call, and keeps what the entries need.
#pragma once

#include "DocumentModel.h"

#include <librevenge/librevenge.h>

namespace QUARK::QXPMETADATA {

class DocumentCollector final : public librevenge::RVNGDrawingInterface {
public:
    // keepFirstPageDrawing: also keep the shapes and text boxes of the first page, for a picture.
    DocumentCollector(DocumentModel& model, bool keepFirstPageDrawing);

    void startDocument(const librevenge::RVNGPropertyList&) override {}
    void endDocument() override { FlushPageText(); }
    void setDocumentMetaData(const librevenge::RVNGPropertyList&) override {}
    void defineEmbeddedFont(const librevenge::RVNGPropertyList&) override {}
    void startPage(const librevenge::RVNGPropertyList& propList) override;
    void endPage() override { FlushPageText(); }
    void startMasterPage(const librevenge::RVNGPropertyList&) override { ++fMasterPageDepth; }
    void endMasterPage() override { if (fMasterPageDepth > 0) --fMasterPageDepth; }
    void setStyle(const librevenge::RVNGPropertyList& propList) override { fStyle = propList; }
    void startLayer(const librevenge::RVNGPropertyList&) override {}
    void endLayer() override {}
    void startEmbeddedGraphics(const librevenge::RVNGPropertyList&) override {}
    void endEmbeddedGraphics() override {}
    void openGroup(const librevenge::RVNGPropertyList&) override {}
    void closeGroup() override {}

    void drawRectangle(const librevenge::RVNGPropertyList& propList) override;
    void drawEllipse(const librevenge::RVNGPropertyList& propList) override;
    void drawPolygon(const librevenge::RVNGPropertyList& propList) override;
    void drawPolyline(const librevenge::RVNGPropertyList& propList) override;
    void drawPath(const librevenge::RVNGPropertyList& propList) override;
    void drawGraphicObject(const librevenge::RVNGPropertyList&) override {}
    void drawConnector(const librevenge::RVNGPropertyList& propList) override { drawPath(propList); }

    void startTextObject(const librevenge::RVNGPropertyList& propList) override;
    void endTextObject() override;

    void startTableObject(const librevenge::RVNGPropertyList&) override {}
    void openTableRow(const librevenge::RVNGPropertyList&) override {}
    void closeTableRow() override {}
    void openTableCell(const librevenge::RVNGPropertyList&) override {}
    void closeTableCell() override {}
    void insertCoveredTableCell(const librevenge::RVNGPropertyList&) override {}
    void endTableObject() override {}

    void insertTab() override { AddText("\t", "\t"); }
    void insertSpace() override { AddText(" ", " "); }
    void insertText(const librevenge::RVNGString& text) override;
    void insertLineBreak() override { AddText("\n", "\u2028"); }
    void insertField(const librevenge::RVNGPropertyList&) override {}

    void openOrderedListLevel(const librevenge::RVNGPropertyList&) override {}
    void openUnorderedListLevel(const librevenge::RVNGPropertyList&) override {}
    void closeOrderedListLevel() override {}
    void closeUnorderedListLevel() override {}
    void openListElement(const librevenge::RVNGPropertyList& propList) override { openParagraph(propList); }
    void closeListElement() override { closeParagraph(); }

    void defineParagraphStyle(const librevenge::RVNGPropertyList&) override {}
    void openParagraph(const librevenge::RVNGPropertyList& propList) override;
    void closeParagraph() override;
    void defineCharacterStyle(const librevenge::RVNGPropertyList&) override {}
    void openSpan(const librevenge::RVNGPropertyList& propList) override;
    void closeSpan() override { fInSpan = false; }
    void openLink(const librevenge::RVNGPropertyList&) override {}
    void closeLink() override {}

private:
    bool Ignoring() const { return fMasterPageDepth > 0 || fModel.pages.empty(); }
    bool KeepingDrawing() const { return fKeepFirstPageDrawing && fModel.pages.size() == 1 && fMasterPageDepth == 0; }
    void NoteColor(const std::string& color);
    void NoteFont(const std::string& font);
    void NoteShapeColors(const librevenge::RVNGPropertyList& call);
    void AddShape(const librevenge::RVNGPropertyList& call, std::vector<PathCommand> outline);
    void AddText(const std::string& plain, const std::string& drawn);
    void FinishParagraph();
    void FlushPageText();

    DocumentModel& fModel;
    bool fKeepFirstPageDrawing;
    int fMasterPageDepth = 0;
    librevenge::RVNGPropertyList fStyle;

    // The paragraph being read, and the span it is in.
    std::string fParagraphText;
    bool fInSpan = false;
    bool fSpanNoted = false;
    librevenge::RVNGPropertyList fSpanProperties;

    // The page's paragraphs with the stacking position of their box: boxes come in no useful
    // order, while the stacking order follows the order they were made in.
    std::vector<std::pair<double, std::string>> fPageParagraphs;

    std::optional<TextBox> fTextBox;  // kept only while drawing the first page
    double fTextBoxZ = 0;
};

}  // namespace QUARK::QXPMETADATA
