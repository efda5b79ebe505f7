#include "catalogue/TableWalk.h"

#include <cstring>

namespace glyphwell::catalogue {

// The checks find long values by the type numbers libmdb reads them by.
static_assert(kColumnTypeLongBinary == MDB_OLE && kColumnTypeMemo == MDB_MEMO);

std::unique_ptr<CatalogueConnection> CatalogueConnection::Open(const std::filesystem::path& file) {
    std::unique_ptr<CatalogueConnection> connection(new CatalogueConnection(file));
    if (!LooksLikeJet4(connection->raw_) || !connection->Check(kCatalogPage)) {
        return nullptr;
    }
    connection->mdb_.reset(mdb_open(file.c_str(), MDB_NOFLAGS));
    if (!connection->mdb_ || !connection->CheckEveryTable()) {
        return nullptr;
    }
    return connection;
}

std::optional<int> CatalogueConnection::Check(std::uint32_t tdefPage) {
    auto it = checkedTables_.find(tdefPage);
    if (it == checkedTables_.end()) {
        it = checkedTables_.emplace(tdefPage, CheckTable(raw_, tdefPage)).first;
    }
    return it->second;
}

bool CatalogueConnection::CheckEveryTable() {
    if (!mdb_read_catalog(mdb_.get(), MDB_TABLE)) {
        return false;
    }
    std::vector<std::uint32_t> tdefPages;
    for (unsigned int i = 0; i < mdb_->num_catalog; ++i) {
        const auto* entry = static_cast<const MdbCatalogEntry*>(mdb_->catalog->pdata[i]);
        tdefPages.push_back(static_cast<std::uint32_t>(entry->table_pg));
    }
    for (std::uint32_t page : tdefPages) {
        if (!Check(page)) {
            return false;
        }
    }
    return true;
}

TableWalk::TableWalk(CatalogueConnection& connection, const std::string& name)
    : connection_(connection) {
    std::string mutableName = name;
    table_.reset(mdb_read_table_by_name(connection.Mdb(), mutableName.data(), MDB_TABLE));
    if (!table_) {
        result_ = OpenResult::Missing;
        return;
    }
    rowCount_ = connection.Check(static_cast<std::uint32_t>(table_->entry->table_pg));
    if (!rowCount_ || !mdb_read_columns(table_.get())) {
        result_ = OpenResult::Damaged;
        return;
    }
    mdb_rewind_table(table_.get());  // always 0
    result_ = OpenResult::Opened;
}

int TableWalk::Bind(const std::string& name) {
    for (unsigned int i = 0; i < table_->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(table_->columns->pdata[i]);
        if (name == column->name) {
            buffers_.emplace_back(connection_.Mdb()->bind_size + 1, '\0');
            lengths_.push_back(0);
            columns_.push_back(column);
            mdb_bind_column(table_.get(), static_cast<int>(i + 1), buffers_.back().data(),
                            &lengths_.back());
            return static_cast<int>(columns_.size() - 1);
        }
    }
    return -1;
}

bool TableWalk::Next() {
    return mdb_fetch_row(table_.get()) != 0;
}

std::string TableWalk::Text(int slot) const {
    if (slot < 0 || lengths_[slot] <= 0 || IsLong(slot)) {
        return {};
    }
    const std::string& buffer = buffers_[slot];
    return std::string(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
}

std::optional<std::string> TableWalk::Bytes(int slot) {
    if (slot < 0 || lengths_[slot] <= 0 || columns_[slot]->col_type != MDB_OLE) {
        return std::string();
    }
    if (static_cast<std::size_t>(lengths_[slot]) < kLongValueHeader) {
        return std::nullopt;
    }
    unsigned char header[kLongValueHeader];
    std::memcpy(header, buffers_[slot].data(), kLongValueHeader);
    const std::optional<std::size_t> expected = LongValueLength(header);
    if (!expected) {
        return std::nullopt;
    }
    MdbColumn* column = columns_[slot];
    MdbHandle* mdb = connection_.Mdb();
    const std::size_t bindSize = mdb->bind_size;
    std::string value;
    std::size_t chunk = mdb_ole_read(mdb, column, header, bindSize);
    for (std::size_t chunks = 1; chunk > 0; ++chunks) {
        if (chunk > bindSize || value.size() + chunk > *expected || chunks > *expected + 1) {
            return std::nullopt;
        }
        value.append(buffers_[slot].data(), chunk);
        chunk = mdb_ole_read_next(mdb, column, header);
    }
    if (value.size() != *expected) {
        return std::nullopt;
    }
    return value;
}

bool TableWalk::IsLong(int slot) const {
    return columns_[slot]->col_type == MDB_OLE || columns_[slot]->col_type == MDB_MEMO;
}

}  // namespace glyphwell::catalogue
