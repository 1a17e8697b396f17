// SPDX-License-Identifier: MIT
#include "sim/trace/TraceCsv.h"

#include <cstdio>
#include <cstring>

#include "sim/physics/SimEvent.h"

namespace corvane::sim {

const char* TraceCsv::Header() {
    return "time_s,latitude_deg,longitude_deg,altitude_ft,ground_ft,agl_ft,ias_kt,tas_kt,"
           "groundspeed_kt,vs_fpm,pitch_deg,bank_deg,heading_true_deg,heading_mag_deg,"
           "alpha_deg,stall_factor,throttle1,throttle2,thrust_n,flaps,spoilers,gear,"
           "brake_left,brake_right,parking_brake,elevator,aileron,rudder,ap_master,"
           "ap_wing_leveller,ap_heading_hold,ap_altitude_hold,ap_heading_mag_deg,"
           "ap_altitude_ft,ap_vs_fpm,ap_vertical_mode,on_ground,crashed,paused,"
           "crash_detection,main_wheels,nose_wheel,load_g,events";
}

std::size_t TraceCsv::FormatLine(const TraceRecord& r, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    char events[128] = "";
    std::size_t used = 0;
    for (int kind = 0; kind <= static_cast<int>(SimEventKind::Resumed); ++kind) {
        if ((r.eventMask & (1u << kind)) == 0) {
            continue;
        }
        const char* name = EventName(static_cast<SimEventKind>(kind));
        const int n =
            std::snprintf(events + used, sizeof(events) - used, "%s%s", used == 0 ? "" : ";", name);
        if (n > 0) {
            used += static_cast<std::size_t>(n);
        }
    }
    const int n = std::snprintf(
        buffer, size,
        "%.2f,%.7f,%.7f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.0f,%.2f,%.2f,%.2f,%.2f,%.2f,%d,%.3f,%.3f,"
        "%.0f,%.3f,%.3f,%.3f,%.3f,%.3f,%d,%.3f,%.3f,%.3f,%d,%d,%d,%d,%.1f,%.0f,%d,%d,%d,%d,%d,%d,%"
        "d,%d,%"
        ".3f,%s",
        r.timeS, r.latitudeDeg, r.longitudeDeg, r.altitudeFt, r.groundElevationFt,
        r.heightAboveGroundFt, r.iasKt, r.tasKt, r.groundSpeedKt, r.verticalSpeedFpm, r.pitchDeg,
        r.bankDeg, r.headingTrueDeg, r.headingMagneticDeg, r.alphaDeg, r.stallFactor, r.throttle1,
        r.throttle2, r.thrustN, r.flaps, r.spoilers, r.gear, r.leftBrake, r.rightBrake,
        r.parkingBrake ? 1 : 0, r.elevator, r.aileron, r.rudder, r.apMaster ? 1 : 0,
        r.apWingLeveller ? 1 : 0, r.apHeadingHold ? 1 : 0, r.apAltitudeHold ? 1 : 0,
        r.apHeadingMagneticDeg, r.apAltitudeFt, r.apVerticalSpeedFpm, r.apVerticalMode,
        r.onGround ? 1 : 0, r.crashed ? 1 : 0, r.paused ? 1 : 0, r.crashDetection ? 1 : 0,
        r.mainWheelsOnGround ? 1 : 0, r.noseWheelOnGround ? 1 : 0, r.normalLoadG, events);
    if (n < 0 || static_cast<std::size_t>(n) >= size) {
        buffer[0] = '\0';
        return 0;
    }
    return static_cast<std::size_t>(n);
}

}  // namespace corvane::sim
