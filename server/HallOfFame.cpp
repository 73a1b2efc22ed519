#include "server/HallOfFame.h"

#include "net/MessageCatalogue.h"
#include "platform/Cp1252.h"
#include "server/GameTable.h"
#include "server/LocalDate.h"

namespace server {
namespace {

void AddRows(std::vector<wire::Field>& fields, const std::vector<HallRow>& rows)
{
    for (const HallRow& row : rows) {
        fields.emplace_back(cp1252::FromUtf8(row.name));
        fields.emplace_back(GameTable::WireScore(row.score));
        fields.emplace_back(row.date);
    }
    fields.emplace_back(std::string(wire::kListEnd));
}

}  // namespace

const std::string& HallOfFame::Message()
{
    const std::string today = LocalDate::Today();
    if (today != day_) {
        const HallOfFameRows rows = store_.LoadHallOfFame(LocalDate::DaysEndingWith(today, kDays));
        wire::Message message{"HALL", {}};
        AddRows(message.fields, rows.today);
        AddRows(message.fields, rows.lastDays);
        message_ = wire::Encode(wire::Direction::ServerToClient, message);
        day_ = today;
    }
    return message_;
}

}  // namespace server
