#include "database/SchemaUpdates.h"

// Each table ends with the columns its creation statement gives (SchemaTables.cpp), whatever earlier
// version it had. Unquoted names fold to lower case: StreamerConfig is streamerconfig.
namespace {

const std::vector<SchemaUpdate> updates{
    {"AlterProjectParametersTable",
     "ALTER TABLE project_parameters ADD COLUMN IF NOT EXISTS project_version INTEGER, "
     "ADD COLUMN IF NOT EXISTS coordinate_system VARCHAR(256), ADD COLUMN IF NOT EXISTS utc_offset_hours "
     "REAL"},
    {"AlterActualLinesTable",
     "ALTER TABLE actual_lines ADD COLUMN IF NOT EXISTS start_time BIGINT, "
     "ADD COLUMN IF NOT EXISTS end_time BIGINT, ADD COLUMN IF NOT EXISTS first_shot INTEGER, "
     "ADD COLUMN IF NOT EXISTS last_shot INTEGER, DROP COLUMN IF EXISTS line_status"},
    {"AlterMarineAmpAnalysisTable",
     "ALTER TABLE marine_amp_analysis ADD COLUMN IF NOT EXISTS channel INTEGER, "
     "ADD COLUMN IF NOT EXISTS rms_amplitude REAL, ADD COLUMN IF NOT EXISTS peak_amplitude REAL, "
     "ADD COLUMN IF NOT EXISTS noise_level REAL"},
    // Amplitudes were once kept per shot point; they belong to the amplitude analysis now.
    {"MoveActualPointsAmplitudes",
     "INSERT INTO marine_amp_analysis (unique_line_id, shot_point, rms_amplitude, peak_amplitude) "
     "SELECT unique_line_id, shot_point, rms_amplitude, peak_amplitude FROM actual_points "
     "WHERE rms_amplitude IS NOT NULL OR peak_amplitude IS NOT NULL",
     "actual_points", "rms_amplitude"},
    {"AlterActualPointsTable",
     "ALTER TABLE actual_points DROP COLUMN IF EXISTS rms_amplitude, DROP COLUMN IF EXISTS peak_amplitude, "
     "ADD COLUMN IF NOT EXISTS water_depth_m REAL"},
    {"AlterCoverageTracesTable", "ALTER TABLE coverage_traces ADD COLUMN IF NOT EXISTS field_file INTEGER, "
                                 "ADD COLUMN IF NOT EXISTS channel INTEGER"},
    {"UpdateCoverageTracesChannels", "UPDATE coverage_traces SET field_file=data_traces.field_file, "
                                     "channel=data_traces.channel FROM data_traces "
                                     "WHERE coverage_traces.trace_serial_number = data_traces.trace_number"},
    // A trace was once found by its serial number alone.
    {"DropCoverageTracesSerialKey",
     "ALTER TABLE coverage_traces DROP CONSTRAINT IF EXISTS coverage_traces_trace_serial_number_key"},
    {"DropCoverageTracesTraceKey",
     "ALTER TABLE coverage_traces DROP CONSTRAINT IF EXISTS coverage_traces_trace_key"},
    {"AddCoverageTracesTraceKey", "ALTER TABLE coverage_traces ADD CONSTRAINT coverage_traces_trace_key "
                                  "UNIQUE(field_file, channel, unique_line_id)"},
    {"AlterDirectArrivalPicksTable",
     "ALTER TABLE direct_arrival_picks ADD COLUMN IF NOT EXISTS pick_quality REAL, "
     "ADD COLUMN IF NOT EXISTS picked_by VARCHAR(64)"},
    {"AlterNmeaLogsTable",
     "ALTER TABLE nmea_logs ADD COLUMN IF NOT EXISTS source VARCHAR(64), DROP COLUMN IF EXISTS checksum"},
    {"AlterReceiverDepthsTable", "ALTER TABLE receiver_depths ADD COLUMN IF NOT EXISTS timestamp BIGINT"},
    {"AlterSeaFloorPicksTable", "ALTER TABLE sea_floor_picks ADD COLUMN IF NOT EXISTS water_depth_m REAL"},
    {"AlterSourceCodesTable", "ALTER TABLE source_codes ADD COLUMN IF NOT EXISTS source_type VARCHAR(32)"},
    {"AlterStreamerConfigTable", "ALTER TABLE StreamerConfig ADD COLUMN IF NOT EXISTS near_offset_m REAL"},
    {"AlterAcquisitionDesignsTable",
     "ALTER TABLE Acquisition_Designs ADD COLUMN IF NOT EXISTS source_interval_m REAL, "
     "ADD COLUMN IF NOT EXISTS receiver_interval_m REAL"},
    // A log that came over from tidal_variations lacks the author.
    {"AlterSurveyorsLogTable", "ALTER TABLE surveyors_log ADD COLUMN IF NOT EXISTS author VARCHAR(64)"},
};

} // namespace

namespace SchemaUpdates {

const std::vector<SchemaUpdate>& all()
{
    return updates;
}

} // namespace SchemaUpdates
