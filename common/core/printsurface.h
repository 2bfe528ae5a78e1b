// The printer as the programs drive it: a scale, a font, a current position, texts, pages. The
// platform prints it through Qt (the default printer, or a PDF file); the recording twin keeps
// every operation for tests.
#pragma once
#include <QString>
#include <functional>
#include <vector>

namespace dz {

enum class PrintScale { Millimetres, Twips };

// Positions are in the current scale, measured from the top-left corner of the printable area,
// x to the right and y downwards. A text is placed with the top-left corner of its text cell at
// the current position. A new page and the start of the document put the position at 0, 0.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;
    virtual void setScale(PrintScale scale) = 0;
    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setBold(bool bold) = 0;
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    // Prints at the current position; staying on the line moves x past the text, ending it
    // moves to the start of the next line.
    virtual void print(const QString& text, bool endLine) = 0;
    virtual void printEmptyLine() = 0;
    // The printed width of a text in the current font and scale.
    virtual double textWidth(const QString& text) = 0;
    // The height of the printable area in the current scale.
    virtual double pageHeight() = 0;
    // A new page asked for right before the end of the document is not printed.
    virtual void newPage() = 0;
    // Sends the document; false when it could not be printed.
    virtual bool endDoc() = 0;
};

// Units of one scale in an inch.
inline double unitsPerInch(PrintScale scale) { return scale == PrintScale::Millimetres ? 25.4 : 1440.0; }

// Every operation as it was asked for, and every text with the state it was printed in.
class RecordingSurface : public PrintSurface {
public:
    enum class Op { Scale, FontName, FontSize, Bold, CurrentX, CurrentY, Print, EmptyLine, TextWidth, NewPage, EndDoc };
    struct Operation {
        Op op;
        QString text;  // font name, printed or measured text
        double value = 0;  // x, y, size, bold (1/0), scale (0 mm, 1 twips), end of line (1/0)
    };
    struct Text {
        int page;  // 0-based, counting the new pages asked for before it
        double x, y;
        QString text;
        QString font;
        double size;
        bool bold;
        PrintScale scale;
        bool endLine;
    };

    // The width of a text: by default 0.6 em a character in the current font and scale.
    explicit RecordingSurface(std::function<double(const QString& text, double points)> widthInPoints = {});

    void setScale(PrintScale scale) override;
    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void setBold(bool bold) override;
    void setCurrentX(double x) override;
    void setCurrentY(double y) override;
    void print(const QString& text, bool endLine) override;
    void printEmptyLine() override;
    double textWidth(const QString& text) override;
    double pageHeight() override;
    void newPage() override;
    bool endDoc() override;

    // The printable height that pageHeight() reports, in millimetres (A4 with 5 mm margins by default).
    void setPageHeightMm(double mm) { pageHeightMm_ = mm; }

    const std::vector<Operation>& operations() const { return ops_; }
    const std::vector<Text>& texts() const { return texts_; }
    int count(Op op) const;
    // Pages the printer would put out: the first, and each new page followed by a text.
    int printedPages() const;
    bool ended() const { return ended_; }

private:
    double lineHeight() const;  // in the current scale
    double toUnits(double points) const;

    std::function<double(const QString&, double)> width_;
    std::vector<Operation> ops_;
    std::vector<Text> texts_;
    PrintScale scale_ = PrintScale::Twips;
    QString font_;
    double size_ = 10;
    bool bold_ = false;
    double x_ = 0, y_ = 0;
    int page_ = 0;
    bool ended_ = false;
    double pageHeightMm_ = 287;
};

}  // namespace dz
