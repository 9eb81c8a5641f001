#include "database/SchemaTables.h"

#include <QStringList>

// The column lists of a project database at schema version 21. Every table starts with row_id, a
// SERIAL PRIMARY KEY. Lines are named by unique_line_id (BIGINT, as the suite numbers them), times
// are UTC milliseconds since 1970 (BIGINT), positions metres in the project grid, depths and
// distances metres, times within a record milliseconds, velocities metres per second.
//
// "tidal_variations" is not here: it is the former name of "surveyors_log", and the version updates
// fold it into that table (ProjectSchema), so creating it again would only have it folded once more.
namespace {

const std::vector<SchemaTable> tables{
    // The ship's autopilot: one row per logged heading command.
    {"auto_pilot",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, timestamp BIGINT, heading_deg DOUBLE PRECISION, "
     "rudder_angle_deg DOUBLE PRECISION, cross_track_error_m DOUBLE PRECISION, mode VARCHAR(32)"},
    // Residual statics per CMP.
    {"cmp_statics", "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, cmp_number INTEGER, static_ms REAL"},
    // The line being acquired, one row per change.
    {"current_line",
     "row_id SERIAL PRIMARY KEY, unique_project_id BIGINT, timestamp BIGINT, line_name VARCHAR(256)"},
    // Saved layouts of the quality-control displays.
    {"display_template",
     "row_id SERIAL PRIMARY KEY, template_name VARCHAR(256), description TEXT, created BIGINT"},
    // The widgets of a display template (template_id is display_template.row_id).
    {"display_widget",
     "row_id SERIAL PRIMARY KEY, template_id INTEGER, widget_type VARCHAR(64), position_x INTEGER, "
     "position_y INTEGER, width INTEGER, height INTEGER, settings TEXT"},
    // Front mute: time by offset.
    {"early_mutes", "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, offset_m REAL, time_ms REAL"},
    // Fold at each shot point's midpoint.
    {"foot_print",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, shot_point INTEGER, easting DOUBLE PRECISION, "
     "northing DOUBLE PRECISION, fold INTEGER"},
    // Line changes announced at the helm.
    {"helms_change_lines",
     "row_id SERIAL PRIMARY KEY, timestamp BIGINT, from_line VARCHAR(256), to_line VARCHAR(256)"},
    // Amplitudes per shot and channel.
    {"marine_amp_analysis",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, shot_point INTEGER, channel INTEGER, "
     "rms_amplitude REAL, peak_amplitude REAL, noise_level REAL"},
    // Limits the amplitude analysis flags against.
    {"marine_amp_threshold",
     "row_id SERIAL PRIMARY KEY, threshold_name VARCHAR(64), low_limit REAL, high_limit REAL"},
    // Sound velocity profile of the multibeam echo sounder.
    {"multibeam_velocity", "row_id SERIAL PRIMARY KEY, timestamp BIGINT, depth_m REAL, velocity_mps REAL"},
    // Raw NMEA sentences as received.
    {"nmea_logs", "row_id SERIAL PRIMARY KEY, timestamp BIGINT, sentence_type VARCHAR(16), sentence TEXT, "
                  "source VARCHAR(64)"},
    // Distance of each shot from the preplot line.
    {"offtrack_distance",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, shot_point INTEGER, distance_m REAL"},
    // Line changes of the quality-control displays.
    {"qcdisplay_change_lines",
     "row_id SERIAL PRIMARY KEY, timestamp BIGINT, from_line VARCHAR(256), to_line VARCHAR(256)"},
    // Depth of each streamer channel.
    {"receiver_depths",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, streamer INTEGER, channel INTEGER, depth_m REAL, "
     "timestamp BIGINT"},
    // Receiver statics per station.
    {"receiver_statics",
     "row_id SERIAL PRIMARY KEY, receiver_line DOUBLE PRECISION, receiver_station DOUBLE PRECISION, "
     "static_ms REAL"},
    // Stacking velocities by CMP and time.
    {"seismic_velocity", "row_id SERIAL PRIMARY KEY, cmp_number INTEGER, time_ms REAL, velocity_mps REAL"},
    // The source codes of SPS records.
    {"source_codes",
     "row_id SERIAL PRIMARY KEY, code VARCHAR(8), description VARCHAR(256), source_type VARCHAR(32)"},
    // Source statics per station.
    {"source_statics",
     "row_id SERIAL PRIMARY KEY, source_line DOUBLE PRECISION, source_station DOUBLE PRECISION, "
     "static_ms REAL"},
    // The guns or vibrators of the spread.
    {"sources",
     "row_id SERIAL PRIMARY KEY, source_number INTEGER, source_type VARCHAR(32), volume_cuin REAL, "
     "pressure_psi REAL"},
    // Amplitude spectra per trace.
    {"spectra_table",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, field_file INTEGER, channel INTEGER, "
     "frequency_hz REAL, amplitude_db REAL"},
    // The streamers of the spread.
    {"streamerconfig",
     "row_id SERIAL PRIMARY KEY, streamer INTEGER, channel_count INTEGER, group_interval_m REAL, "
     "near_offset_m REAL"},
    // Windows muted by hand.
    {"surgical_mutes",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, field_file INTEGER, first_channel INTEGER, "
     "last_channel INTEGER, start_ms REAL, end_ms REAL"},
    // The surveyor's entries.
    {"surveyors_log",
     "row_id SERIAL PRIMARY KEY, timestamp BIGINT, unique_line_id BIGINT, entry TEXT, author VARCHAR(64)"},
    // Tail mute: time by offset.
    {"tail_mutes", "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, offset_m REAL, time_ms REAL"},
    // GPS time of each field file.
    {"time_stamps_gps",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, field_file INTEGER, gps_time BIGINT"},
    // Water column properties by depth.
    {"water_table",
     "row_id SERIAL PRIMARY KEY, timestamp BIGINT, depth_m REAL, temperature_c REAL, salinity_psu REAL, "
     "sound_velocity_mps REAL"},

    // The tables below are made by the suite's project set-up; they are created here only when missing,
    // because the version updates read or change them.
    // The settings of the project; one row.
    {"project_parameters", "row_id SERIAL PRIMARY KEY, unique_project_id BIGINT, project_name VARCHAR(256), "
                           "project_version INTEGER, "
                           "coordinate_system VARCHAR(256), utc_offset_hours REAL"},
    // The lines shot.
    {"actual_lines",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, line_name VARCHAR(256), sequence_number INTEGER, "
     "start_time BIGINT, end_time BIGINT, first_shot INTEGER, last_shot INTEGER"},
    // The shot points shot.
    {"actual_points",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, shot_point INTEGER, timestamp BIGINT, "
     "easting DOUBLE PRECISION, northing DOUBLE PRECISION, water_depth_m REAL"},
    // The traces recorded, by their serial number on the line.
    {"data_traces",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, trace_number INTEGER, field_file INTEGER, "
     "channel INTEGER"},
    // Each trace's bin: one row per trace, found by field file and channel.
    {"coverage_traces",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, trace_serial_number INTEGER, cmp_number INTEGER, "
     "field_file INTEGER, channel INTEGER, "
     "CONSTRAINT coverage_traces_trace_key UNIQUE(field_file, channel, unique_line_id)"},
    // First-break picks.
    {"direct_arrival_picks",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, field_file INTEGER, channel INTEGER, pick_ms REAL, "
     "pick_quality REAL, picked_by VARCHAR(64)"},
    // Water-bottom picks.
    {"sea_floor_picks",
     "row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, field_file INTEGER, channel INTEGER, pick_ms REAL, "
     "water_depth_m REAL"},
    // Spread designs of the survey.
    {"acquisition_designs",
     "row_id SERIAL PRIMARY KEY, design_name VARCHAR(256), description TEXT, source_interval_m REAL, "
     "receiver_interval_m REAL"},
};

} // namespace

QString SchemaTable::label() const
{
    QString result = QStringLiteral("Create");
    for (const QString& word : QString::fromLatin1(name).split(QLatin1Char('_'), Qt::SkipEmptyParts))
        result += word.at(0).toUpper() + word.mid(1);
    return result + QStringLiteral("Table");
}

QString SchemaTable::createStatement() const
{
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(name), QLatin1String(columns));
}

namespace SchemaTables {

const std::vector<SchemaTable>& all()
{
    return tables;
}

} // namespace SchemaTables
