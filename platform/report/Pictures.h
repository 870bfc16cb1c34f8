#pragma once

#include "platform/report/Units.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace report {

// Pictures go onto the page decoded at this resolution of the size they print at, never more:
// a 4000 x 3000 photo printed 1 inch wide is kept about 300 pixels wide.
inline constexpr double kPictureDotsPerInch = 300;

// Where a picture comes from: a file, decoded once the run has made its pages, or a picture
// made in code.
struct PictureSource {
    QString file; // full path; empty for a picture made in code
    QImage image; // the picture made in code

    bool isNull() const { return file.isEmpty() && image.isNull(); }
};

// A picture as it goes onto the page. Every item that shows the same picture at the same size
// shares one.
struct PictureData {
    QImage image;       // null: nothing to draw
    QRectF drawRect;    // twips from the control's top left corner; drawn clipped to the control
    bool smooth = true; // false for pictures kept at their own size: drawn without smoothing
};
using SharedPicture = std::shared_ptr<const PictureData>;

// Who asked for a picture: the handler whose section was being placed, and its page.
struct PictureRequester {
    QString handler;
    int page = 0;
};

// What a run found out about a picture file the first time it looked at it.
struct PictureFileLook {
    std::optional<QSize> size; // as shown (turned by its orientation); nullopt: not readable
    QString error;             // why it cannot be read
    QByteArray bytes;          // the whole file, when it is small enough to keep for decoding
};

// A picture file that could not be read, with the first place that asked for it.
struct PictureFailure {
    PictureRequester requester;
    QString message;
};

// Decodes pictures at the size they print at, once, and shares the result between every
// control that shows the same picture at the same size in the same way (the digit pictures of
// a bar code, printed hundreds of times, are held once). One run of a layout keeps one cache.
//
// How a picture fills its control:
//   Stretch: the whole control, aspect not kept;
//   Zoom: as large as fits, aspect kept, placed by the picture alignment;
//   Clip: at its own size (from the resolution stored with it, 96 dpi when none is), placed by
//   the alignment and cut off at the control's edges; only the part that shows is kept.
// A picture whose pixels are fewer than kPictureDotsPerInch of its printed size needs is kept
// as it is (smooth false), so that enlarging it keeps hard edges; a larger one is reduced
// while it is decoded (a JPEG file is never decoded whole).
//
// Pictures made in code are placed at once. Files are only noted by place; decodeFiles then
// reads all of them, several at a time, and fills the pictures place handed out.
//
// A run looks at each picture file once (look): the digits of a bar code are loaded six times
// a person, but their files are opened once a run. A small file is read whole then and
// decoded later from that copy, so it is opened only once in all.
class PictureCache {
public:
    PictureCache();
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The picture of a source at a size. A file that cannot be read is returned by
    // decodeFiles only when some place that shows it needs it (reportFailure).
    SharedPicture place(const PictureSource& source, QSizeF box, SizeMode mode,
                        PictureAlignment alignment, const PictureRequester& requester = {},
                        bool reportFailure = true);
    // Decodes the files noted since the last call; a file that cannot be read leaves its
    // pictures empty and is returned once, with the first place that asked for it.
    std::vector<PictureFailure> decodeFiles();
    // The number of different pictures placed so far.
    int count() const;

    // What the file holds: found out the first time, then known for the cache's life.
    PictureFileLook look(const QString& file);

    // The cache of the run in progress on this thread, or nullptr outside a run.
    static PictureCache* current();
    // Makes a cache the current one for as long as it lives.
    class RunScope {
    public:
        explicit RunScope(PictureCache& cache);
        ~RunScope();
        RunScope(const RunScope&) = delete;
        RunScope& operator=(const RunScope&) = delete;

    private:
        PictureCache* m_previous;
    };

private:
    struct Entry;
    QHash<QString, std::shared_ptr<Entry>> m_entries;
    std::vector<std::shared_ptr<Entry>> m_pending;
    QHash<QString, PictureFileLook> m_files;
    qint64 m_keptBytes = 0;
};

// The size of a picture file from its header, without decoding it; nullopt (and the reason)
// when the file cannot be read as a picture. In a run, the run's look at the file.
std::optional<QSize> pictureFileSize(const QString& file, QString* error = nullptr);

// The whole picture of a file at its own size, turned by its orientation; null when it cannot
// be read whole. In a run, decoded from the run's copy of a small file.
QImage readPictureFile(const QString& file);

// How often the picture layer has opened this file since the program started.
int pictureFileOpens(const QString& file);

// The rectangle of the given size placed in a box by a picture alignment.
QRectF alignedIn(const QRectF& box, QSizeF size, PictureAlignment alignment);

} // namespace report
