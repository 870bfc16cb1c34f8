#include "platform/report/Pictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <utility>

namespace report {

namespace {

constexpr double kMetersPerInch = 0.0254;
constexpr double kDefaultDotsPerInch = 96;

// A run keeps a copy of each picture file up to this size (bar code digits, icons), and of at
// most this much in all, so that it opens them only once.
constexpr qint64 kKeptFileBytes = 64 * 1024;
constexpr qint64 kKeptRunBytes = 16 * 1024 * 1024;

thread_local PictureCache* t_currentCache = nullptr;

struct OpenCounts {
    QMutex mutex;
    QHash<QString, int> counts;
};

OpenCounts& openCounts()
{
    static OpenCounts counts;
    return counts;
}

void noteOpened(const QString& file)
{
    OpenCounts& opens = openCounts();
    const QMutexLocker lock(&opens.mutex);
    ++opens.counts[file];
}

QString unreadable(const QString& file, const QString& reason)
{
    return QStringLiteral("The picture \"%1\" cannot be read: %2.")
        .arg(QDir::toNativeSeparators(file), reason);
}

// A reader of a picture file, or of a run's copy of the file (bytes), turning the picture by
// its stored orientation.
class FileReader {
public:
    FileReader(const QString& file, const QByteArray& bytes)
    {
        if (bytes.isEmpty()) {
            noteOpened(file);
            m_reader.setFileName(file);
        } else {
            m_buffer.setData(bytes);
            m_buffer.open(QIODevice::ReadOnly);
            m_reader.setDevice(&m_buffer);
            // The name's extension is only a hint, as it is for a file: the content decides.
            m_reader.setFormat(QFileInfo(file).suffix().toLatin1());
        }
        m_reader.setAutoTransform(true);
    }
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    QImageReader* operator->() { return &m_reader; }

    // The size the picture shows at, turned by its orientation.
    QSize shownSize()
    {
        QSize size = m_reader.size();
        if (turned())
            size.transpose();
        return size;
    }
    bool turned() const
    {
        return m_reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    }

private:
    QBuffer m_buffer;
    QImageReader m_reader;
};

// Looks at a file: its size from the header; with mayKeep, a small file is read whole first and
// the copy kept for decoding.
PictureFileLook lookAt(const QString& file, bool mayKeep)
{
    PictureFileLook look;
    const auto fail = [&look](const QString& reason) {
        look.error = reason;
        look.bytes.clear();
        return look;
    };
    if (file.isEmpty())
        return fail(QStringLiteral("No picture file was named."));
    const QFileInfo info(file);
    if (!info.isFile())
        return fail(QStringLiteral("The picture \"%1\" does not exist.")
                        .arg(QDir::toNativeSeparators(file)));
    if (mayKeep && info.size() <= kKeptFileBytes) {
        QFile whole(file);
        noteOpened(file);
        if (!whole.open(QIODevice::ReadOnly))
            return fail(unreadable(file, whole.errorString()));
        look.bytes = whole.readAll();
    }
    FileReader reader(file, look.bytes);
    if (!reader->canRead())
        return fail(unreadable(file, reader->errorString()));
    look.size = reader.shownSize();
    return look;
}

// The pixels a printed size needs at the print resolution.
QSize printPixels(QSizeF twips)
{
    const double scale = kPictureDotsPerInch / kTwipsPerInch;
    return QSize(std::max(1, int(std::ceil(twips.width() * scale - 1e-6))),
                 std::max(1, int(std::ceil(twips.height() * scale - 1e-6))));
}

bool fitsIn(QSize pixels, QSize room)
{
    return pixels.width() <= room.width() && pixels.height() <= room.height();
}

// The size a picture prints at when it keeps its own size.
QSizeF ownTwips(const QImage& image)
{
    auto inches = [](int pixels, int dotsPerMeter) {
        const double dpi = dotsPerMeter > 0 ? dotsPerMeter * kMetersPerInch : kDefaultDotsPerInch;
        return pixels / dpi;
    };
    return QSizeF(inches(image.width(), image.dotsPerMeterX()) * kTwipsPerInch,
                  inches(image.height(), image.dotsPerMeterY()) * kTwipsPerInch);
}

// Where a picture of the given pixel size goes in a box when it is stretched or zoomed, and
// the pixels to keep of it.
struct Fit {
    QRectF drawRect;
    bool keepOwnSize = true;
    QSize pixels;
};

Fit fitFor(QSize own, QSizeF box, SizeMode mode, PictureAlignment alignment)
{
    Fit fit;
    const QRectF boxRect(QPointF(0, 0), box);
    if (mode == SizeMode::Zoom) {
        const QSizeF shown = QSizeF(own).scaled(box, Qt::KeepAspectRatio);
        fit.drawRect = alignedIn(boxRect, shown, alignment);
    } else {
        fit.drawRect = boxRect;
    }
    const QSize room = printPixels(fit.drawRect.size());
    fit.keepOwnSize = fitsIn(own, room);
    if (fit.keepOwnSize) {
        fit.pixels = own;
    } else if (mode == SizeMode::Zoom) {
        const QSizeF scaled = QSizeF(own).scaled(QSizeF(room), Qt::KeepAspectRatio);
        fit.pixels = QSize(std::max(1, int(std::lround(scaled.width()))),
                           std::max(1, int(std::lround(scaled.height()))));
    } else {
        fit.pixels =
            QSize(std::min(own.width(), room.width()), std::min(own.height(), room.height()));
    }
    return fit;
}

// A decoded picture, or why there is none.
struct Decoded {
    PictureData picture;
    QString error;
};

PictureData reduced(QImage image, QRectF drawRect)
{
    PictureData placed;
    placed.drawRect = drawRect;
    const QSize room = printPixels(drawRect.size());
    if (fitsIn(image.size(), room)) {
        placed.image = std::move(image);
        placed.smooth = false;
        return placed;
    }
    const QSize pixels(std::min(image.width(), room.width()),
                       std::min(image.height(), room.height()));
    placed.image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    placed.smooth = true;
    return placed;
}

// A picture already in memory, fitted to its box.
PictureData placeImage(const QImage& image, QSizeF box, SizeMode mode, PictureAlignment alignment)
{
    if (mode != SizeMode::Clip) {
        const Fit fit = fitFor(image.size(), box, mode, alignment);
        PictureData placed;
        placed.drawRect = fit.drawRect;
        placed.smooth = !fit.keepOwnSize;
        placed.image = fit.keepOwnSize ? image
                                       : image.scaled(fit.pixels, Qt::IgnoreAspectRatio,
                                                      Qt::SmoothTransformation);
        return placed;
    }
    // At its own size, cut off at the box: only the pixels that show are kept.
    const QSizeF own = ownTwips(image);
    const QRectF whole = alignedIn(QRectF(QPointF(0, 0), box), own, alignment);
    const QRectF shown = whole.intersected(QRectF(QPointF(0, 0), box));
    if (shown.isEmpty())
        return {};
    const double xScale = image.width() / own.width();
    const double yScale = image.height() / own.height();
    const QRect pixels = QRect(QPoint(int(std::floor((shown.left() - whole.left()) * xScale)),
                                      int(std::floor((shown.top() - whole.top()) * yScale))),
                               QPoint(int(std::ceil((shown.right() - whole.left()) * xScale)) - 1,
                                      int(std::ceil((shown.bottom() - whole.top()) * yScale)) - 1))
                             .intersected(image.rect());
    if (pixels.isEmpty())
        return {};
    const QRectF drawRect(whole.left() + pixels.left() / xScale,
                          whole.top() + pixels.top() / yScale, pixels.width() / xScale,
                          pixels.height() / yScale);
    return reduced(image.copy(pixels), drawRect);
}

// Reads a file (or the run's copy of it) straight at the size it prints at. Safe on any thread.
Decoded decodeFile(const QString& file, const QByteArray& bytes, QSizeF box, SizeMode mode,
                   PictureAlignment alignment)
{
    Decoded decoded;
    FileReader reader(file, bytes);
    const QSize own = reader.shownSize();
    const bool turned = reader.turned();

    QImage image;
    if (mode == SizeMode::Clip || own.isEmpty()) {
        // The resolution stored with the picture is known only once it is read.
        image = reader->read();
        if (!image.isNull()) {
            decoded.picture = placeImage(image, box, mode, alignment);
            return decoded;
        }
    } else {
        const Fit fit = fitFor(own, box, mode, alignment);
        if (!fit.keepOwnSize) {
            // Decoded straight at the smaller size (JPEG files are never decoded whole).
            reader->setScaledSize(turned ? fit.pixels.transposed() : fit.pixels);
        }
        image = reader->read();
        if (!image.isNull()) {
            decoded.picture.image = std::move(image);
            decoded.picture.drawRect = fit.drawRect;
            decoded.picture.smooth = !fit.keepOwnSize;
            return decoded;
        }
    }
    decoded.error = unreadable(file, reader->errorString());
    return decoded;
}

} // namespace

QRectF alignedIn(const QRectF& box, QSizeF size, PictureAlignment alignment)
{
    QRectF r(box.topLeft(), size);
    switch (alignment) {
    case PictureAlignment::TopLeft:
        break;
    case PictureAlignment::TopRight:
        r.moveRight(box.right());
        break;
    case PictureAlignment::Center:
        r.moveCenter(box.center());
        break;
    case PictureAlignment::BottomLeft:
        r.moveBottom(box.bottom());
        break;
    case PictureAlignment::BottomRight:
        r.moveBottomRight(box.bottomRight());
        break;
    }
    return r;
}

struct PictureCache::Entry {
    std::shared_ptr<PictureData> picture = std::make_shared<PictureData>();
    QString file;
    QByteArray bytes; // the run's copy of a small file
    QSizeF box;
    SizeMode mode = SizeMode::Clip;
    PictureAlignment alignment = PictureAlignment::TopLeft;
    PictureRequester requester; // the first place that needs the picture
    bool reportFailure = false;
    QString error; // set by a worker thread, read after all of them finished
};

PictureCache::PictureCache() = default;
PictureCache::~PictureCache() = default;

int PictureCache::count() const
{
    return int(m_entries.size());
}

SharedPicture PictureCache::place(const PictureSource& source, QSizeF box, SizeMode mode,
                                  PictureAlignment alignment, const PictureRequester& requester,
                                  bool reportFailure)
{
    if (source.isNull() || box.width() <= 0 || box.height() <= 0)
        return nullptr;
    const QString key =
        (source.file.isEmpty() ? QStringLiteral("image:%1").arg(source.image.cacheKey())
                               : QStringLiteral("file:") + source.file) +
        QStringLiteral("|%1|%2|%3x%4")
            .arg(int(mode))
            .arg(int(alignment))
            .arg(box.width(), 0, 'f', 2)
            .arg(box.height(), 0, 'f', 2);
    if (auto it = m_entries.constFind(key); it != m_entries.constEnd()) {
        Entry& known = **it;
        if (reportFailure && !known.reportFailure) {
            known.reportFailure = true;
            known.requester = requester;
        }
        return known.picture;
    }
    auto entry = std::make_shared<Entry>();
    if (source.file.isEmpty()) {
        *entry->picture = placeImage(source.image, box, mode, alignment);
    } else {
        entry->file = source.file;
        entry->bytes = m_files.value(source.file).bytes;
        entry->box = box;
        entry->mode = mode;
        entry->alignment = alignment;
        entry->reportFailure = reportFailure;
        if (reportFailure)
            entry->requester = requester;
        m_pending.push_back(entry);
    }
    m_entries.insert(key, entry);
    return entry->picture;
}

std::vector<PictureFailure> PictureCache::decodeFiles()
{
    const std::vector<std::shared_ptr<Entry>> pending = std::exchange(m_pending, {});
    // Decoding is most of the time a report with photos takes, so files are read several at
    // a time; each worker writes only its own entry, and nothing is read until all are done.
    QThreadPool pool;
    pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    for (const std::shared_ptr<Entry>& entry : pending) {
        Entry* e = entry.get();
        pool.start([e] {
            try {
                Decoded decoded = decodeFile(e->file, e->bytes, e->box, e->mode, e->alignment);
                *e->picture = std::move(decoded.picture);
                e->error = std::move(decoded.error);
            } catch (const std::exception& failure) {
                *e->picture = PictureData();
                e->error = unreadable(e->file, QString::fromUtf8(failure.what()));
            }
        });
    }
    pool.waitForDone();
    std::vector<PictureFailure> failures;
    for (const std::shared_ptr<Entry>& entry : pending) {
        if (entry->reportFailure && !entry->error.isEmpty())
            failures.push_back({entry->requester, entry->error});
    }
    return failures;
}

PictureFileLook PictureCache::look(const QString& file)
{
    if (auto it = m_files.constFind(file); it != m_files.constEnd())
        return *it;
    PictureFileLook found = lookAt(file, m_keptBytes < kKeptRunBytes);
    m_keptBytes += found.bytes.size();
    m_files.insert(file, found);
    return found;
}

PictureCache* PictureCache::current()
{
    return t_currentCache;
}

PictureCache::RunScope::RunScope(PictureCache& cache) : m_previous(t_currentCache)
{
    t_currentCache = &cache;
}

PictureCache::RunScope::~RunScope()
{
    t_currentCache = m_previous;
}

std::optional<QSize> pictureFileSize(const QString& file, QString* error)
{
    PictureCache* run = PictureCache::current();
    const PictureFileLook look = run ? run->look(file) : lookAt(file, false);
    if (error && !look.size)
        *error = look.error;
    return look.size;
}

QImage readPictureFile(const QString& file)
{
    QByteArray bytes;
    if (PictureCache* run = PictureCache::current()) {
        const PictureFileLook look = run->look(file);
        if (!look.size)
            return {};
        bytes = look.bytes;
    }
    FileReader reader(file, bytes);
    return reader->read();
}

int pictureFileOpens(const QString& file)
{
    OpenCounts& opens = openCounts();
    const QMutexLocker lock(&opens.mutex);
    return opens.counts.value(file);
}

} // namespace report
