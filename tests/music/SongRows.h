// The composed song laid out as one row after another, as a player steps through its orders.
#pragma once

#include "Instruments.h"
#include "Song.h"

#include <vector>

class SongRows {
public:
    explicit SongRows(Song::Arrangement song) : arrangement(std::move(song)) {
        for (std::uint8_t order : arrangement.orders) {
            const Xm::Pattern& p = arrangement.patterns[order];
            for (int r = 0; r < p.rows; ++r)
                rows.push_back({&arrangement.patterns[order], r});
        }
    }

    int count() const { return int(rows.size()); }
    const Xm::Cell& at(int row, int channel) const {
        return rows[std::size_t(row)].pattern->at(rows[std::size_t(row)].row, channel);
    }
    bool plays(int row, int channel, int instrument) const {
        const Xm::Cell& c = at(row, channel);
        return c.note >= 1 && c.note <= 96 && c.instrument == instrument;
    }
    bool playsAnywhere(int row, int instrument) const {
        for (int ch = 0; ch < Song::kChannels; ++ch)
            if (plays(row, ch, instrument))
                return true;
        return false;
    }

private:
    struct Row {
        const Xm::Pattern* pattern;
        int row;
    };
    Song::Arrangement arrangement;
    std::vector<Row> rows;
};
