#include "platform/audio/audioTags.h"

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include "platform/audio/audioDecoder.h"

bool readAudioFileTags(const std::string& path, CaudioFileTags& tags) {
    tags = CaudioFileTags{};
    TagLib::FileRef f(path.c_str(), true, TagLib::AudioProperties::Fast);
    if (f.isNull()) return false;
    if (TagLib::Tag* t = f.tag()) {
        tags.title = t->title().to8Bit(true);
        tags.artist = t->artist().to8Bit(true);
        tags.album = t->album().to8Bit(true);
        tags.genre = t->genre().to8Bit(true);
        tags.trackNumber = t->track();
    }
    if (TagLib::AudioProperties* p = f.audioProperties()) tags.lengthSeconds = (float)p->lengthInMilliseconds() / 1000.0f;
    if (tags.lengthSeconds <= 0) tags.lengthSeconds = probeAudioLength(path);
    return true;
}

float probeAudioLength(const std::string& path) {
    CaudioDecoder d;
    CaudioDecoder::Coptions o;
    if (!d.open(path, o)) return 0;
    return (float)d.duration();
}
